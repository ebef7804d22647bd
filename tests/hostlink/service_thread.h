#pragma once

#include <mutex>

#include <QDBusConnection>
#include <QThread>

#include "host/host_service.h"
#include "hostlink/host_names.h"

namespace tabulon::test {

// The host's core on the private bus, served from a thread of its own so that
// the blocking calls of the code under test get their answers.
class ServiceThread {
public:
    ServiceThread()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("test-host"))) {
        service_.moveToThread(&thread_);
        QObject::connect(
            &service_, &host::HostService::called, &service_,
            [this](const host::Call& call) {
                int holdMs = 0;
                {
                    const std::lock_guard lock(mutex_);
                    lines_ << host::formatCall(call);
                    if (call.key == heldKey_)
                        holdMs = holdMs_;
                }
                QThread::msleep(holdMs); // the answer waits, the call is taken
            },
            Qt::DirectConnection);
        thread_.start();
        bus_.registerObject(QString::fromLatin1(host::kPath), &service_, QDBusConnection::ExportAllSlots);
        bus_.registerService(QString::fromLatin1(host::kService));
    }
    ServiceThread(const ServiceThread&) = delete;
    ServiceThread& operator=(const ServiceThread&) = delete;
    ~ServiceThread() {
        stop();
        QDBusConnection::disconnectFromBus(QStringLiteral("test-host"));
    }

    // The host goes away.
    void stop() {
        bus_.unregisterService(QString::fromLatin1(host::kService));
        bus_.unregisterObject(QString::fromLatin1(host::kPath));
        thread_.quit();
        thread_.wait();
    }

    // A slow host: the answer to each call with `key` comes `ms` late.
    void holdAnswer(const QString& key, int ms) {
        const std::lock_guard lock(mutex_);
        heldKey_ = key;
        holdMs_ = ms;
    }

    // Every call so far, as the host logs it.
    QStringList lines() const {
        const std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    QDBusConnection bus_;
    QThread thread_;
    host::HostService service_;
    mutable std::mutex mutex_;
    QStringList lines_;
    QString heldKey_;
    int holdMs_ = 0;
};

} // namespace tabulon::test
