#include "host/host_service.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace tabulon::host {

QString escape(const QString& text) {
    static constexpr std::array<std::pair<char16_t, const char*>, 4> kNamed{
        {{u'\\', "\\\\"}, {u'\t', "\\t"}, {u'\r', "\\r"}, {u'\n', "\\n"}}};
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const auto named = std::find_if(kNamed.begin(), kNamed.end(),
                                        [c](const auto& entry) { return entry.first == c.unicode(); });
        if (named != kNamed.end())
            out += QLatin1String(named->second);
        else if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString formatCall(const Call& call) {
    return QStringList{call.method, escape(call.key), call.type, escape(call.value.toString())}.join(
        QLatin1Char('\t'));
}

namespace {

// The D-Bus signature of a value that came in a variant, for a message.
QString signatureOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return qvariant_cast<QDBusArgument>(value).currentSignature();
    const char* signature = QDBusMetaType::typeToSignature(value.metaType());
    return signature != nullptr ? QString::fromLatin1(signature) : QString::fromLatin1(value.typeName());
}

} // namespace

void HostService::record(const QString& method, const QString& key, const QVariant& value) {
    QString type = QString::fromLatin1(value.typeName());
    if (value.typeId() == QMetaType::Short)
        type = QStringLiteral("int16");
    else if (value.typeId() == QMetaType::QString)
        type = QStringLiteral("string");
    Call call{method, key, type, value};
    if (method != QLatin1String("hkp_DataSetGlobalSuffix")) {
        call.key += suffix_;
        data_.push_back(call);
    }
    emit called(call);
}

void HostService::hkp_DataAdd(const QString& key, const QDBusVariant& value) {
    const QVariant& inner = value.variant();
    if (inner.typeId() != QMetaType::QString && inner.typeId() != QMetaType::Short) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::InvalidArgs,
                           QStringLiteral("hkp_DataAdd takes a string (s) or a 16-bit integer (n), not %1")
                               .arg(signatureOf(inner)));
        return;
    }
    record(QStringLiteral("hkp_DataAdd"), key, inner);
}

void HostService::hkp_DataAddInt(const QString& key, qint16 value) {
    record(QStringLiteral("hkp_DataAddInt"), key, QVariant::fromValue(value));
}

void HostService::hkp_DataSetGlobalSuffix(const QString& suffix) {
    suffix_ = suffix;
    record(QStringLiteral("hkp_DataSetGlobalSuffix"), QString(), suffix);
}

} // namespace tabulon::host
