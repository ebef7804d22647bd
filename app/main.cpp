#include <QApplication>

#include "app/close_signals.h"
#include "app/frm_config.h"
#include "app/key_commands.h"
#include "app/start.h"
#include "persist/settings_store.h"
#include "selection/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString argumentText = tabulon::ArgumentText(QApplication::arguments());
    tabulon::SettingsStore store(tabulon::ApplicationName());
    if (argumentText == QLatin1String("/setupregistry")) {
        tabulon::SetupRegistry(store);
        return 0;
    }

    tabulon::ApplyWindowFont(app);
    tabulon::QtDialogs dialogs;
    tabulon::FrmConfig window(argumentText, store, dialogs);
    tabulon::KeyCommands keys(&window);
    tabulon::CloseOnSignals closeOnSignals(&window);
    // The desktop session ending closes the window like any other close.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.close(); });
    window.show();
    return app.exec();
}
