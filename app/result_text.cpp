#include "app/result_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "base/template_set.h"

namespace tabulon {

namespace {

const QString kMarker =
    QString::fromLatin1(kLineBreakMarker.data(), static_cast<qsizetype>(kLineBreakMarker.size()));

QString toLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString toBoxText(const std::string& result) {
    return toLf(QString::fromUtf8(result.data(), static_cast<qsizetype>(result.size())));
}

QString boxText(const QPlainTextEdit* box) {
    return box->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString crLfText(const QPlainTextEdit* box) {
    return boxText(box).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString markersToLineBreaks(const QString& templateText) {
    return QString(templateText).replace(kMarker, QStringLiteral("\n"));
}

QString lineBreaksToMarkers(const QString& text) {
    return toLf(text).replace(QLatin1Char('\n'), kMarker);
}

} // namespace tabulon
