#pragma once

#include <optional>
#include <string>

#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace tabulon {

// The result box and what Go wrote into it. The box cannot hold a lone LF (or
// a lone CR) apart from a line break, so the engine's result is kept beside
// it and handed over exactly until the user changes the box.
class GoResult : public QObject {
    Q_OBJECT
public:
    explicit GoResult(QPlainTextEdit* box); // a child of the box

    // Shows the engine's result (UTF-8 bytes) in the box.
    void show(std::string result);
    // What Copy and Insert hand over: the engine's result while the box holds
    // it unchanged, otherwise the box's text with CR LF line breaks. Bytes that
    // are not UTF-8 come out as U+FFFD either way; line ends stay as they were.
    QString handOverText() const;

private:
    QPlainTextEdit* box_;
    // Go's result while the box shows it unchanged; none before the first Go.
    std::optional<std::string> result_;
};

} // namespace tabulon
