#pragma once

#include <functional>
#include <type_traits>
#include <utility>

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

namespace tabulon::test {

// Answers the next modal dialog as a user would: `answer` looks at it and
// accepts or rejects it. Set up before the call that opens the dialog.
template <class Dialog = QFileDialog>
void answerNextDialog(std::type_identity_t<std::function<void(Dialog&)>> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        (void)QTest::qWaitFor(
            [&] {
                auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr || !dialog->isVisible())
                    return false;
                answer(*dialog);
                return true;
            },
            5000);
    });
}

} // namespace tabulon::test
