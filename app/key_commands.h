#pragma once

#include <QObject>

namespace tabulon {

class FrmConfig;

// The window's keys that no single control owns: Enter presses the default
// button wherever the focus is but on a push button or in an open drop-down
// list; F1, Shift+F1 and F2 go to the window's key handler.
class KeyCommands : public QObject {
    Q_OBJECT
public:
    explicit KeyCommands(FrmConfig* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmConfig* window_;
};

} // namespace tabulon
