#pragma once

#include <memory>

#include <QDBusConnection>

#include "hostlink/host_core.h"

namespace tabulon {

// The plug-in core on a D-Bus bus. Calls block, in order, each for a few
// seconds at most; they are built directly, since introspection would block
// while the host is busy.
class DbusHostCore final : public HostCore {
public:
    // The core, when the name has an owner or can be started; nullptr when
    // the host cannot be reached, no bus at all included.
    static std::unique_ptr<DbusHostCore> Create(const QDBusConnection& bus);

    QString hkp_DataAdd(const QString& key, const QVariant& value) override;
    QString hkp_DataAddInt(const QString& key, qint16 value) override;
    QString hkp_DataSetGlobalSuffix(const QString& suffix) override;

    static constexpr int kTimeoutMs = 5000;

private:
    explicit DbusHostCore(const QDBusConnection& bus) : bus_(bus) {}
    QString Call(const char* method, const QVariantList& arguments);

    QDBusConnection bus_;
};

} // namespace tabulon
