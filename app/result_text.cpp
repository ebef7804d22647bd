#include "app/result_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "base/template_set.h"

namespace tabulon {

namespace {

const QString kMarker =
    QString::fromLatin1(kLineBreakMarker.data(), static_cast<qsizetype>(kLineBreakMarker.size()));

QString ToLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString ToBoxText(const std::string& result) {
    return ToLf(QString::fromUtf8(result.data(), static_cast<qsizetype>(result.size())));
}

QString BoxText(const QPlainTextEdit* box) {
    return box->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString CrLfText(const QPlainTextEdit* box) {
    return BoxText(box).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString MarkersToLineBreaks(const QString& templateText) {
    return QString(templateText).replace(kMarker, QStringLiteral("\n"));
}

QString LineBreaksToMarkers(const QString& text) {
    return ToLf(text).replace(QLatin1Char('\n'), kMarker);
}

} // namespace tabulon
