#pragma once

#include <QStringList>

#include "selection/dialogs.h"

namespace tabulon::test {

// Always chooses the same files and answers nothing else.
class FixedDialogs final : public Dialogs {
public:
    explicit FixedDialogs(QStringList files) : files_(std::move(files)) {}
    FileChoice SelectFiles(QWidget*, const QString&, int) override { return {files_, 1}; }
    QString OpenConfiguration(QWidget*, const QString&) override { return {}; }
    QString SaveConfiguration(QWidget*, const QString&) override { return {}; }
    void ShowMessage(QWidget*, const QString&) override {}
    void ShowBrowserUnavailable(QWidget*, const QString&) override {}

private:
    QStringList files_;
};

} // namespace tabulon::test
