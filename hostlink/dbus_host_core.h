#pragma once

#include <memory>

#include <QDBusConnection>

#include "hostlink/host_core.h"

namespace tabulon {

// The plug-in core on a D-Bus bus. Each call waits a few seconds at most; the
// calls are built directly, since introspection would block while the host is
// busy.
class DbusHostCore final : public HostCore {
public:
    static constexpr int kTimeoutMs = 5000;

    // The core, when the name has an owner or can be started; nullptr when
    // the host cannot be reached, no bus at all included.
    static std::unique_ptr<DbusHostCore> create(const QDBusConnection& bus, int timeoutMs = kTimeoutMs);

    HostAnswer hkp_DataAdd(const QString& key, const QVariant& value) override;
    HostAnswer hkp_DataAddInt(const QString& key, qint16 value) override;
    HostAnswer hkp_DataSetGlobalSuffix(const QString& suffix) override;
    void hkp_DataAddLater(const QString& key, const QVariant& value, QObject* context,
                          Answered answered) override;

private:
    DbusHostCore(const QDBusConnection& bus, int timeoutMs) : bus_(bus), timeoutMs_(timeoutMs) {}
    HostAnswer call(const char* method, const QVariantList& arguments);

    QDBusConnection bus_;
    int timeoutMs_;
};

} // namespace tabulon
