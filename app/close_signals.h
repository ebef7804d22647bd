#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace tabulon {

// SIGTERM, SIGINT and SIGHUP close the window the ordinary way, so that its
// settings are saved as on any other close.
class CloseOnSignals : public QObject {
    Q_OBJECT
public:
    explicit CloseOnSignals(QWidget* window);
    ~CloseOnSignals() override;

private:
    QWidget* window_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tabulon
