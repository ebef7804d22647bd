#pragma once

#include "selection/dialogs.h"

namespace tabulon {

// The real dialogs: Qt's own file dialog, the same on every desktop.
class QtDialogs final : public Dialogs {
public:
    FileChoice SelectFiles(QWidget* parent, const QString& folder, int filterIndex) override;
    QString OpenConfiguration(QWidget* parent, const QString& folder) override;
    QString SaveConfiguration(QWidget* parent, const QString& folder) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowBrowserUnavailable(QWidget* parent, const QString& text) override;
};

} // namespace tabulon
