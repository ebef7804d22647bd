#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tabulon {

// What the user chose in the file selection dialog. No files: cancelled.
struct FileChoice {
    QStringList files;   // absolute paths, in the order of selection
    int filterIndex = 1; // counted from 1 over the fixed filters; 0: the extra file types
};

// The window's modal questions, behind one seam so that tests can answer
// them without a user.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Several existing files; opens in `folder` (when not empty) on filter
    // `filterIndex`. File types (";"-separated patterns), when given, are
    // listed first, before the fixed filters, as filter 0.
    virtual FileChoice selectFiles(QWidget* parent, const QString& folder, int filterIndex,
                                   const QString& fileTypes) = 0;
    // One existing configuration file, or empty when cancelled.
    virtual QString openConfiguration(QWidget* parent, const QString& folder) = 0;
    // A file to save the configuration to, replacing it only if the user
    // confirmed; empty when cancelled.
    virtual QString saveConfiguration(QWidget* parent, const QString& folder) = 0;
    // A message with only an OK button, captioned with the program's title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A warning titled "Browser Unavailable", OK only.
    virtual void showBrowserUnavailable(QWidget* parent, const QString& text) = 0;
};

// The labels the file selection dialog shows, in filter order.
QStringList selectFilesFilterLabels();
// The label of the extra filter for `fileTypes`.
QString fileTypesFilterLabel(const QString& fileTypes);

} // namespace tabulon
