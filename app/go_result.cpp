#include "app/go_result.h"

#include <QPlainTextEdit>

#include "app/result_text.h"

namespace tabulon {

GoResult::GoResult(QPlainTextEdit* box) : QObject(box), box_(box) {
    // Any change counts, even one undone later: only Go's own text is exact.
    connect(box_, &QPlainTextEdit::textChanged, this, [this] { result_.reset(); });
}

void GoResult::show(std::string result) {
    box_->setPlainText(toBoxText(result));
    result_ = std::move(result);
}

QString GoResult::handOverText() const {
    if (!result_)
        return crLfText(box_);
    return QString::fromUtf8(result_->data(), static_cast<qsizetype>(result_->size()));
}

} // namespace tabulon
