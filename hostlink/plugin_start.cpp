#include "hostlink/plugin_start.h"

#include <QCoreApplication>

#include "resources/strings.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

// Literals are marked with QT_TRANSLATE_NOOP where they are written, for lupdate.
QString translated(const char* source) {
    return QCoreApplication::translate("tabulon::PluginStart", source);
}

} // namespace

QString PluginStart::unreachableMessage() {
    return translated(QT_TRANSLATE_NOOP(
        "tabulon::PluginStart",
        "Unable to open communication with HTML-Kit. You may need to restart Windows (a simple "
        "logoff/logon is likely be enough)"));
}

QString PluginStart::cannotRegisterMessage() {
    return translated(QT_TRANSLATE_NOOP(
        "tabulon::PluginStart",
        "Unable to register plugin because communication with HTML-Kit could not be established.\r\n"
        "You may need to restart Windows (a simple logoff/logon is likely to be enough)"));
}

bool isPluginRun(const QString& argumentText) {
    return argumentText == kPluginRunSwitch;
}

bool IsPluginStart(const QString& argumentText) {
    return argumentText == kPluginRunSwitch || argumentText == kRegisterSwitch;
}

PluginStart::PluginStart(Connector connector, ShowMessage showMessage)
    : connector_(std::move(connector)), showMessage_(std::move(showMessage)) {}

std::optional<int> PluginStart::HandlePluginStart(const QString& argumentText) {
    if (argumentText == kRegisterSwitch)
        return RegisterPlugin();
    if (argumentText == kPluginRunSwitch && !ConnectToHost())
        return 1;
    return std::nullopt;
}

bool PluginStart::ConnectToHost() {
    hostCore_ = connector_();
    if (!hostCore_) {
        showMessage_(unreachableMessage());
        return false;
    }
    // Not fatal: the window's Insert sends the output mode again with the text
    // and reports its own failure, and nothing of the user's is at stake yet.
    (void)hostCore_->hkp_DataAdd(QStringLiteral("MODE_OUTPUT"), QVariant::fromValue<qint16>(6));
    return true;
}

int PluginStart::RegisterPlugin() {
    const std::unique_ptr<HostCore> core = connector_();
    if (!core) {
        showMessage_(cannotRegisterMessage());
        return 1;
    }
    const auto text = [](const char* value) { return QVariant(QString::fromUtf8(value)); };
    const qint16 counter = 1;
    // The first failure stops the entries and is the one reported.
    HostAnswer answer = core->hkp_DataSetGlobalSuffix(QStringLiteral("_%1").arg(counter));
    const auto add = [&](const char* key, const QVariant& value) {
        if (answer.ok())
            answer = core->hkp_DataAdd(QString::fromLatin1(key), value);
    };
    const auto addInt = [&](const char* key, qint16 value) {
        if (answer.ok())
            answer = core->hkp_DataAddInt(QString::fromLatin1(key), value);
    };
    add("NAME", text(kAppTitle));
    add("SECTION", text("Tools"));
    if (answer.ok())
        answer = AddPluginInfo(*core);
    addInt("MODE_SHOW_STATUS", 0);
    addInt("MODE_ADD_MENU_SHORTCUTS", 1);
    add("MODE_ICON", QVariant::fromValue<qint16>(0));
    add("ICON_SMALL", text("ICON_TABULON"));
    addInt("MODE_IN_FILE", 0);
    addInt("MODE_IN_TEXT_FULL", 0);
    addInt("MODE_IN_TEXT_SELECTED", 0);
    // Cleared even after a failure, so the host's later keys carry no suffix.
    const HostAnswer cleared = core->hkp_DataSetGlobalSuffix(QString());
    if (answer.ok())
        answer = cleared;
    if (!answer.ok()) {
        showMessage_(translated(QT_TRANSLATE_NOOP("tabulon::PluginStart",
                                                  "The plug-in could not be registered with HTML-Kit: %1"))
                         .arg(answer.reason()));
        return 1;
    }
    return 0;
}

HostAnswer PluginStart::AddPluginInfo(HostCore& core) {
    const std::pair<const char*, QString> entries[] = {
        {"VERSION", QString::fromLatin1(kVersionText)},
        {"COPYRIGHT_SHORT", QString::fromUtf8(strings::kCopyright)},
        {"AUTHOR", QString::fromUtf8(strings::kAuthor)},
        {"EMAIL", QString::fromUtf8(strings::kMailAddress)},
        {"URL_HOME", QString::fromUtf8(strings::kSoftwarePage)},
        {"URL_DOWNLOAD", QString::fromUtf8(strings::kSoftwarePage)},
    };
    for (const auto& [key, value] : entries) {
        if (HostAnswer answer = core.hkp_DataAdd(QString::fromLatin1(key), value); !answer.ok())
            return answer;
    }
    return {};
}

} // namespace tabulon
