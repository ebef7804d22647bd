#pragma once

#include <string>

#include <QString>

// The result box holds lines; results and templates hold CR LF and the
// line-break marker. These convert at the box's edge.
namespace tabulon {

// Engine bytes (UTF-8, CR LF) to the box's text.
QString ToBoxText(const std::string& result);
// The box's text, with every line break as CR LF.
QString FromBoxText(const QString& text);

// A template for the popup editor: every marker a line break.
QString MarkersToLineBreaks(const QString& templateText);
// The popup's text back to one line: CR LF, lone CR and lone LF each a marker.
QString LineBreaksToMarkers(const QString& text);

} // namespace tabulon
