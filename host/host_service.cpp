#include "host/host_service.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace tabulon::host {

QString Escape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        default:
            if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString FormatCall(const Call& call) {
    return QStringList{call.method, Escape(call.key), call.type, Escape(call.value.toString())}.join(
        QLatin1Char('\t'));
}

namespace {

// The D-Bus signature of a value that came in a variant, for a message.
QString SignatureOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return qvariant_cast<QDBusArgument>(value).currentSignature();
    const char* signature = QDBusMetaType::typeToSignature(value.metaType());
    return signature != nullptr ? QString::fromLatin1(signature) : QString::fromLatin1(value.typeName());
}

} // namespace

void HostService::Record(const QString& method, const QString& key, const QVariant& value) {
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
                               .arg(SignatureOf(inner)));
        return;
    }
    Record(QStringLiteral("hkp_DataAdd"), key, inner);
}

void HostService::hkp_DataAddInt(const QString& key, qint16 value) {
    Record(QStringLiteral("hkp_DataAddInt"), key, QVariant::fromValue(value));
}

void HostService::hkp_DataSetGlobalSuffix(const QString& suffix) {
    suffix_ = suffix;
    Record(QStringLiteral("hkp_DataSetGlobalSuffix"), QString(), suffix);
}

} // namespace tabulon::host
