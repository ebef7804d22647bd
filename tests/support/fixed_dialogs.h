#pragma once

#include <QStringList>

#include "selection/dialogs.h"

namespace tabulon::test {

// Always chooses the same files and answers nothing else.
class FixedDialogs final : public Dialogs {
public:
    explicit FixedDialogs(QStringList files) : files_(std::move(files)) {}
    FileChoice selectFiles(QWidget*, const QString&, int, const QString&) override { return {files_, 1}; }
    QString openConfiguration(QWidget*, const QString&) override { return {}; }
    QString saveConfiguration(QWidget*, const QString&) override { return {}; }
    void showMessage(QWidget*, const QString&) override {}
    void showBrowserUnavailable(QWidget*, const QString&) override {}

private:
    QStringList files_;
};

} // namespace tabulon::test
