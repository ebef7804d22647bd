// Saves a picture of the window as a user sees it (run under Xvfb by
// `make screenshot`): a list of the sample folder made, the popup open.
// --dark shows it in the Fusion style with a dark palette; QT_SCALE_FACTOR
// enlarges it.
#include <cstring>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

#include "app/frm_config.h"
#include "app/start.h"
#include "browser/xdg_open_launcher.h"
#include "persist/settings_store.h"
#include "support/dark_palette.h"
#include "support/fixed_dialogs.h"

using namespace tabulon;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool dark = argc == 4 && std::strcmp(argv[3], "--dark") == 0;
    if (argc < 3 || argc > 4 || (argc == 4 && !dark)) {
        std::fprintf(stderr, "usage: window_screenshot OUT.png SAMPLE-FOLDER [--dark]\n");
        return 2;
    }
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(test::darkFusionPalette());
    }
    QTemporaryDir settings; // never the user's own
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    applyWindowFont(app);

    QStringList files;
    const QDir samples(QString::fromLocal8Bit(argv[2]));
    for (const QString& name :
         samples.entryList({QStringLiteral("*.png"), QStringLiteral("*.gif")}, QDir::Files))
        files << samples.absoluteFilePath(name);
    test::FixedDialogs dialogs(files);
    SettingsStore store(QStringLiteral("tabulon-screenshot"));
    XdgOpenLauncher launcher;
    FrmConfig window(QString(), {store, dialogs, launcher});
    window.show();
    window.activateWindow();
    (void)QTest::qWaitForWindowExposed(&window);
    window.findChild<QPushButton*>(QStringLiteral("cmdBrowseForFiles"))->click();
    window.findChild<QPushButton*>(QStringLiteral("cmdGo"))->click();
    window.PositionTextInputPopup(window.findChild<QComboBox*>(QStringLiteral("cbTextNewRow")));
    QTest::qWait(300);

    const QRect frame = window.frameGeometry();
    const QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
