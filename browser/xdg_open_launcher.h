#pragma once

#include <QObject>

#include "browser/launcher.h"

namespace tabulon {

// Opens addresses with xdg-open, started with an argument list in a session
// of its own, so that the browser it starts outlives the program. Its exit
// status is the result: 3 (no handler) becomes kNoAssociation, and an opener
// that cannot be started counts as one too.
class XdgOpenLauncher final : public QObject, public Launcher {
    Q_OBJECT
public:
    using QObject::QObject;
    void open(const QString& address, std::function<void(int code)> done) override;
};

// The result code for an exit status of xdg-open.
int codeForExitStatus(int status);

} // namespace tabulon
