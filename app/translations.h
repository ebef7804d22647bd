#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// The window in the user's language.
namespace tabulon {

// The window's compiled translations (tabulon_<language>.qm): beside the
// program in the build tree, in the data folder when installed.
QString translationsFolder();

// Installs the window's texts and Qt's own (the dialogs' buttons and labels)
// in the language of `locale` for as long as it lives; a language without a
// translation of the window stays English throughout. The batch program never loads one: scripts read
// its messages.
class Translations {
public:
    explicit Translations(const QLocale& locale = QLocale::system());
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // Whether the window's own texts were found for the language.
    bool loaded() const { return loaded_; }

private:
    // A translator takes itself out of the application when it is destroyed.
    QTranslator own_;
    QTranslator qt_;
    bool loaded_ = false;
};

} // namespace tabulon
