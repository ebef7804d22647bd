// A plug-in that hands over the text of TABULON_FAKE_OUTPUT, if set, the way
// the window's Insert does; for testing the host without a window.
#include <QCoreApplication>
#include <QDBusConnection>

#include "hostlink/dbus_host_core.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    auto core = tabulon::DbusHostCore::create(QDBusConnection::sessionBus());
    if (!core)
        return 1;
    if (!core->hkp_DataAdd(QStringLiteral("MODE_OUTPUT"), QVariant::fromValue<qint16>(6)).ok())
        return 1;
    if (!qEnvironmentVariableIsSet("TABULON_FAKE_OUTPUT"))
        return 0;
    if (!core->hkp_DataAdd(QStringLiteral("MODE_OUTPUT"), QVariant::fromValue<qint16>(2)).ok() ||
        !core->hkp_DataAdd(QStringLiteral("OUTPUT"), qEnvironmentVariable("TABULON_FAKE_OUTPUT")).ok())
        return 1;
    return 0;
}
