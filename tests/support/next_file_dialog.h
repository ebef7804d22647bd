#pragma once

#include <functional>
#include <utility>

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

namespace tabulon::test {

// Answers the next modal file dialog as a user would: `answer` looks at it and
// accepts or rejects it. Set up before the call that opens the dialog.
inline void answerNextFileDialog(std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        (void)QTest::qWaitFor(
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr)
                    return false;
                answer(*dialog);
                return true;
            },
            5000);
    });
}

} // namespace tabulon::test
