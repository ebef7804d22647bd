// Go in the offscreen window: from the click to the result shown.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "app/frm_config.h"
#include "app/start.h"
#include "browser/xdg_open_launcher.h"
#include "persist/settings_store.h"
#include "support/fixed_dialogs.h"

namespace {

using namespace tabulon;

void go(benchmark::State& state) {
    QStringList files;
    for (int i = 0; i < state.range(0); ++i)
        files << QStringLiteral("/home/user/photos/2024/holiday/IMG_%1.jpg").arg(100000 + i);
    test::FixedDialogs dialogs(files);
    SettingsStore store(QStringLiteral("tabulon-bench"));
    XdgOpenLauncher launcher;
    FrmConfig window(QString(), {store, dialogs, launcher});
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("cmdBrowseForFiles"))->click();
    auto* go = window.findChild<QPushButton*>(QStringLiteral("cmdGo"));
    for (auto _ : state) {
        go->click();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(go)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    applyWindowFont(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
