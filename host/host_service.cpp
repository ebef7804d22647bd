#include "host/host_service.h"

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
    Record(QStringLiteral("hkp_DataAdd"), key, value.variant());
}

void HostService::hkp_DataAddInt(const QString& key, qint16 value) {
    Record(QStringLiteral("hkp_DataAddInt"), key, QVariant::fromValue(value));
}

void HostService::hkp_DataSetGlobalSuffix(const QString& suffix) {
    suffix_ = suffix;
    Record(QStringLiteral("hkp_DataSetGlobalSuffix"), QString(), suffix);
}

} // namespace tabulon::host
