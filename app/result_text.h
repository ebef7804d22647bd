#pragma once

#include <string>

#include <QString>

class QPlainTextEdit;

// The result box holds lines; results and templates hold CR LF and the
// line-break marker. These convert at the box's edge.
namespace tabulon {

// Engine bytes (UTF-8, CR LF) to the box's text.
QString toBoxText(const std::string& result);
// A box's text exactly as it stands, each line break as LF (toPlainText
// would turn no-break spaces into blanks).
QString boxText(const QPlainTextEdit* box);
// A box's text with every line break as CR LF.
QString crLfText(const QPlainTextEdit* box);

// A template for the popup editor: every marker a line break.
QString markersToLineBreaks(const QString& templateText);
// The popup's text back to one line: CR LF, lone CR and lone LF each a marker.
QString lineBreaksToMarkers(const QString& text);

} // namespace tabulon
