#include "app/close_signals.h"

#include <csignal>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include "posix/signal_pipe.h"

namespace tabulon {

CloseOnSignals::CloseOnSignals(QWidget* window) : QObject(window), window_(window) {
    const int watched = watchSignals({SIGTERM, SIGINT, SIGHUP});
    if (watched < 0)
        return;
    notifier_ = new QSocketNotifier(watched, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, watched] {
        takeSignal(watched);
        // An open dialog would hold the close back until the user answers it.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            if (QApplication::activeModalWidget() == modal)
                break;
        }
        window_->close();
    });
}

CloseOnSignals::~CloseOnSignals() {
    restoreSignals({SIGTERM, SIGINT, SIGHUP});
}

} // namespace tabulon
