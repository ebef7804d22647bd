#include <QApplication>
#include <QDBusConnection>

#include "app/close_signals.h"
#include "app/command_line.h"
#include "app/frm_config.h"
#include "app/key_commands.h"
#include "app/start.h"
#include "app/translations.h"
#include "browser/xdg_open_launcher.h"
#include "hostlink/dbus_host_core.h"
#include "hostlink/plugin_start.h"
#include "persist/settings_store.h"
#include "resources/strings.h"
#include "selection/qt_dialogs.h"

int main(int argc, char** argv) {
    // The switches are compared with what was typed, before Qt takes its options out.
    const QString argumentText = tabulon::argumentText(argc, argv);
    // Help and version need no display: answered before the toolkit looks for one.
    const QStringList typed = tabulon::rawArguments(argc, argv);
    const tabulon::CommandLine::Request request = tabulon::readCommandLine(typed).request;
    if (request != tabulon::CommandLine::Request::Window)
        return tabulon::answer(request);
    QApplication app(argc, argv);
    // The desktop entry is installed under this name; Wayland shells find the window's icon by it.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tabulon::strings::kDesktopId));
    tabulon::SettingsStore store(tabulon::applicationName());
    if (argumentText == QLatin1String("/setupregistry")) {
        tabulon::SetupRegistry(store);
        return 0;
    }

    tabulon::applyWindowFont(app);
    const tabulon::Translations translations; // before the first text: the plug-in start's messages
    tabulon::QtDialogs dialogs;
    tabulon::PluginStart plugin([] { return tabulon::DbusHostCore::create(QDBusConnection::sessionBus()); },
                                [&dialogs](const QString& text) { dialogs.showMessage(nullptr, text); });
    if (tabulon::IsPluginStart(argumentText)) {
        if (const auto exitStatus = plugin.HandlePluginStart(argumentText))
            return *exitStatus;
    }
    tabulon::XdgOpenLauncher launcher;
    tabulon::FrmConfig window(argumentText, {store, dialogs, launcher, plugin.hostCore()});
    tabulon::KeyCommands keys(&window);
    tabulon::CloseOnSignals closeOnSignals(&window);
    // The desktop session ending closes the window like any other close.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.close(); });
    window.show();
    if (!tabulon::IsPluginStart(argumentText)) {
        const QStringList names = tabulon::fileNames(typed, app.arguments().mid(1));
        window.takeFiles(tabulon::namedFiles(names));
    }
    return app.exec();
}
