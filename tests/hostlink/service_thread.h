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
                const std::lock_guard lock(mutex_);
                lines_ << host::FormatCall(call);
            },
            Qt::DirectConnection);
        thread_.start();
        bus_.registerObject(QString::fromLatin1(host::kPath), &service_, QDBusConnection::ExportAllSlots);
        bus_.registerService(QString::fromLatin1(host::kService));
    }
    ServiceThread(const ServiceThread&) = delete;
    ServiceThread& operator=(const ServiceThread&) = delete;
    ~ServiceThread() {
        Stop();
        QDBusConnection::disconnectFromBus(QStringLiteral("test-host"));
    }

    // The host goes away.
    void Stop() {
        bus_.unregisterService(QString::fromLatin1(host::kService));
        bus_.unregisterObject(QString::fromLatin1(host::kPath));
        thread_.quit();
        thread_.wait();
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
};

} // namespace tabulon::test
