#pragma once

#include "selection/dialogs.h"

namespace tabulon {

// The real dialogs: Qt's own file dialog, the same on every desktop.
class QtDialogs final : public Dialogs {
public:
    FileChoice selectFiles(QWidget* parent, const QString& folder, int filterIndex,
                           const QString& fileTypes) override;
    QString openConfiguration(QWidget* parent, const QString& folder) override;
    QString saveConfiguration(QWidget* parent, const QString& folder) override;
    void showMessage(QWidget* parent, const QString& text) override;
    void showBrowserUnavailable(QWidget* parent, const QString& text) override;
};

} // namespace tabulon
