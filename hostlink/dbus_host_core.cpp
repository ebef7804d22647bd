#include "hostlink/dbus_host_core.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

#include "hostlink/host_names.h"

namespace tabulon {

std::unique_ptr<DbusHostCore> DbusHostCore::Create(const QDBusConnection& bus) {
    if (!bus.isConnected() || bus.interface() == nullptr)
        return nullptr;
    const QString service = QString::fromLatin1(host::kService);
    const bool owned = bus.interface()->isServiceRegistered(service).value();
    if (!owned && !bus.interface()->activatableServiceNames().value().contains(service))
        return nullptr;
    return std::unique_ptr<DbusHostCore>(new DbusHostCore(bus));
}

QString DbusHostCore::Call(const char* method, const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(host::kService), QString::fromLatin1(host::kPath),
                                       QString::fromLatin1(host::kInterface), QString::fromLatin1(method));
    message.setArguments(arguments);
    const QDBusMessage reply = bus_.call(message, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return {};
}

QString DbusHostCore::hkp_DataAdd(const QString& key, const QVariant& value) {
    // D-Bus strings end at a NUL: the host would get a cut text and no error.
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(0)))
        return QStringLiteral("the text holds a NUL character, which cannot be handed over");
    return Call(host::kDataAdd, {key, QVariant::fromValue(QDBusVariant(value))});
}

QString DbusHostCore::hkp_DataAddInt(const QString& key, qint16 value) {
    return Call(host::kDataAddInt, {key, QVariant::fromValue(value)});
}

QString DbusHostCore::hkp_DataSetGlobalSuffix(const QString& suffix) {
    return Call(host::kDataSetGlobalSuffix, {suffix});
}

} // namespace tabulon
