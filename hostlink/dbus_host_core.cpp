#include "hostlink/dbus_host_core.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

#include "hostlink/host_names.h"

namespace tabulon {

namespace {

QDBusMessage methodCall(const char* method, const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(host::kService), QString::fromLatin1(host::kPath),
                                       QString::fromLatin1(host::kInterface), QString::fromLatin1(method));
    message.setArguments(arguments);
    return message;
}

QVariantList dataAddArguments(const QString& key, const QVariant& value) {
    return {key, QVariant::fromValue(QDBusVariant(value))};
}

// D-Bus strings end at a NUL: the host would get a cut text and no error.
HostAnswer sendable(const QVariant& value) {
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(0)))
        return HostAnswer::failed(QCoreApplication::translate(
            "tabulon::DbusHostCore", "the text holds a NUL character, which cannot be handed over"));
    return {};
}

QString reason(const QDBusError& error) {
    return error.message().isEmpty() ? error.name() : error.message();
}

HostAnswer answerOf(const QDBusError& error) {
    if (!error.isValid())
        return {};
    switch (error.type()) {
    case QDBusError::NoReply: // also when the host quit after taking the call
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return HostAnswer::noAnswer(
            QCoreApplication::translate("tabulon::DbusHostCore", "no answer from the editor"));
    default:
        return HostAnswer::failed(reason(error));
    }
}

} // namespace

std::unique_ptr<DbusHostCore> DbusHostCore::create(const QDBusConnection& bus, int timeoutMs) {
    if (!bus.isConnected() || bus.interface() == nullptr)
        return nullptr;
    const QString service = QString::fromLatin1(host::kService);
    const bool owned = bus.interface()->isServiceRegistered(service).value();
    if (!owned && !bus.interface()->activatableServiceNames().value().contains(service))
        return nullptr;
    return std::unique_ptr<DbusHostCore>(new DbusHostCore(bus, timeoutMs));
}

HostAnswer DbusHostCore::call(const char* method, const QVariantList& arguments) {
    const QDBusMessage reply = bus_.call(methodCall(method, arguments), QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return HostAnswer::failed(reason(QDBusError(reply)));
    return {};
}

HostAnswer DbusHostCore::hkp_DataAdd(const QString& key, const QVariant& value) {
    if (HostAnswer refused = sendable(value); !refused.ok())
        return refused;
    return call(host::kDataAdd, dataAddArguments(key, value));
}

HostAnswer DbusHostCore::hkp_DataAddInt(const QString& key, qint16 value) {
    return call(host::kDataAddInt, {key, QVariant::fromValue(value)});
}

HostAnswer DbusHostCore::hkp_DataSetGlobalSuffix(const QString& suffix) {
    return call(host::kDataSetGlobalSuffix, {suffix});
}

void DbusHostCore::hkp_DataAddLater(const QString& key, const QVariant& value, QObject* context,
                                    Answered answered) {
    if (HostAnswer refused = sendable(value); !refused.ok()) {
        QMetaObject::invokeMethod(
            context, [answered = std::move(answered), refused = std::move(refused)] { answered(refused); },
            Qt::QueuedConnection);
        return;
    }
    // The watcher belongs to `context`: once that is gone, so is the answer.
    auto* watcher = new QDBusPendingCallWatcher(
        bus_.asyncCall(methodCall(host::kDataAdd, dataAddArguments(key, value)), timeoutMs_), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answered = std::move(answered)](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         answered(answerOf(call->error()));
                     });
}

} // namespace tabulon
