#include "app/result_text.h"

namespace tabulon {

namespace {

const QString kMarker = QStringLiteral("{{CRLF}}");

// The text document also knows paragraph and line separators.
QString UnifyLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

QString ToBoxText(const std::string& result) {
    return UnifyLineBreaks(QString::fromUtf8(result.data(), static_cast<qsizetype>(result.size())));
}

QString FromBoxText(const QString& text) {
    return UnifyLineBreaks(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString MarkersToLineBreaks(const QString& templateText) {
    return QString(templateText).replace(kMarker, QStringLiteral("\n"));
}

QString LineBreaksToMarkers(const QString& text) {
    return UnifyLineBreaks(text).replace(QLatin1Char('\n'), kMarker);
}

} // namespace tabulon
