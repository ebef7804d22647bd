#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QString>

#include "hostlink/host_core.h"

namespace tabulon {

inline const QString kRegisterSwitch = QStringLiteral("/hkpreg");
inline const QString kPluginRunSwitch = QStringLiteral("/hkprun");

// The argument text names one of the two plug-in starts (exactly, whole, case
// and all).
bool IsPluginStart(const QString& argumentText);
bool isPluginRun(const QString& argumentText);

// The start of a plug-in run or a registration, and the host core of the run.
class PluginStart {
public:
    using Connector = std::function<std::unique_ptr<HostCore>()>;
    using ShowMessage = std::function<void(const QString&)>;

    PluginStart(Connector connector, ShowMessage showMessage);

    // The first step of the start mode: nullopt when the window is to open,
    // otherwise the program's exit status.
    [[nodiscard]] std::optional<int> HandlePluginStart(const QString& argumentText);

    // The core of a plug-in run; nullptr in any other run.
    HostCore* hostCore() const { return hostCore_.get(); }

    // Translated when asked for, so that a translator installed after start-up counts.
    static QString unreachableMessage();
    static QString cannotRegisterMessage();

private:
    [[nodiscard]] bool ConnectToHost();
    [[nodiscard]] int RegisterPlugin();
    HostAnswer AddPluginInfo(HostCore& core);

    Connector connector_;
    ShowMessage showMessage_;
    std::unique_ptr<HostCore> hostCore_;
};

} // namespace tabulon
