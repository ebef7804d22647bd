#include "selection/qt_dialogs.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

#include "tabulon/version.h"

namespace tabulon {

namespace {

// Literals are marked with QT_TRANSLATE_NOOP where they are written, for lupdate.
QString translated(const char* source) {
    return QCoreApplication::translate("tabulon::QtDialogs", source);
}

// Qt splits patterns on blanks and its "*.*" hides names without a dot, so
// each label carries the real patterns in a last pair of brackets, hidden.
// Only the label is translated: the patterns are what the dialog filters by.
QStringList withPatterns(const QStringList& labels, const QStringList& patterns) {
    QStringList filters;
    for (qsizetype i = 0; i < labels.size(); ++i)
        filters.append(QStringLiteral("%1 (%2)").arg(labels.at(i), patterns.at(i)));
    return filters;
}

QStringList selectFilesFilters() {
    return withPatterns(selectFilesFilterLabels(),
                        {QStringLiteral("*"), QStringLiteral("*.jpg *.gif *.bmp")});
}

QStringList configurationFilters() {
    return withPatterns({translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "INI Files (*.ini)")),
                         translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "All Files (*.*)"))},
                        {QStringLiteral("*.ini"), QStringLiteral("*")});
}

void SetUp(QFileDialog& dialog, const QString& title, const QString& folder, const QStringList& filters) {
    dialog.setWindowTitle(title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
}

// Room in a title bar for the window manager's icon and buttons.
constexpr int kTitleBarFurniture = 160;

// A message box is only as wide as its text, and the window manager then cut
// a short box's caption to "T…". Title fonts run larger and bolder than the
// window's own, hence twice the caption's width in the window's font.
void showWithWholeCaption(QMessageBox& box) {
    const int width = 2 * QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + kTitleBarFurniture;
    // A spacer across the text's row (the layout owns it): it widens the box
    // without narrowing a long text.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), 0, 0, 1,
                      grid->columnCount());
    box.exec();
}

QString chooseConfiguration(QWidget* parent, const QString& title, const QString& folder, bool save) {
    QFileDialog dialog(parent);
    SetUp(dialog, title, folder, configurationFilters());
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

FileChoice QtDialogs::selectFiles(QWidget* parent, const QString& folder, int filterIndex,
                                  const QString& fileTypes) {
    QFileDialog dialog(parent);
    QStringList labels = selectFilesFilterLabels();
    QStringList filters = selectFilesFilters();
    // Filter i of the dialog is filter i + first of the caller: the file
    // types, when there are any, come before the fixed filters as filter 0.
    int first = 1;
    const QStringList patterns = fileTypes.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (!patterns.isEmpty()) {
        QStringList blankSeparated;
        for (const QString& pattern : patterns)
            blankSeparated.append(pattern.trimmed());
        labels.prepend(fileTypesFilterLabel(fileTypes));
        filters.prepend(
            withPatterns({labels.constFirst()}, {blankSeparated.join(QLatin1Char(' '))}).constFirst());
        first = 0;
    }
    SetUp(dialog, translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "Select files")), folder, filters);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    const qsizetype index = std::clamp<qsizetype>(filterIndex - first, 0, filters.size() - 1);
    dialog.selectNameFilter(filters.at(index));

    FileChoice choice;
    if (dialog.exec() == QDialog::Accepted)
        choice.files = dialog.selectedFiles();
    // The dialog reports the filter by its shown label.
    const QString chosen = dialog.selectedNameFilter();
    qsizetype chosenIndex = labels.indexOf(chosen);
    if (chosenIndex < 0)
        chosenIndex = filters.indexOf(chosen);
    choice.filterIndex = static_cast<int>(chosenIndex < 0 ? index : chosenIndex) + first;
    return choice;
}

QString QtDialogs::openConfiguration(QWidget* parent, const QString& folder) {
    return chooseConfiguration(
        parent, translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "Load configuration")), folder, false);
}

QString QtDialogs::saveConfiguration(QWidget* parent, const QString& folder) {
    return chooseConfiguration(
        parent, translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "Save configuration")), folder, true);
}

void QtDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok, parent);
    showWithWholeCaption(box);
}

} // namespace tabulon

namespace tabulon {

void QtDialogs::showBrowserUnavailable(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning,
                    translated(QT_TRANSLATE_NOOP("tabulon::QtDialogs", "Browser Unavailable")), text,
                    QMessageBox::Ok, parent);
    showWithWholeCaption(box);
}

} // namespace tabulon
