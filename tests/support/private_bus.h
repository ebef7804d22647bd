#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace tabulon::test {

// A D-Bus session bus of the test's own: a dbus-daemon child, stopped at the
// end. The session-bus variable points at it, for this process and its children.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.setProgram(QStringLiteral("dbus-daemon"));
        daemon_.setArguments(
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        daemon_.start();
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine().trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }

    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace tabulon::test
