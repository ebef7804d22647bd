#include "host/host_commands.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>

#include "host/host_service.h"
#include "hostlink/host_names.h"
#include "posix/option_table.h"
#include "posix/signal_pipe.h"
#include "tabulon/version.h"

namespace tabulon::host {

namespace {

using host::kPath;
constexpr const char* kName = host::kService;

// What the command line asks for.
struct HostOptions {
    enum class Ask { Nothing, Help, Version };
    Ask ask = Ask::Nothing; // the first of --help and --version given
    std::string plugin;     // UTF-8
};

template <HostOptions::Ask ask> void setAsk(HostOptions& options, std::string_view) {
    if (options.ask == HostOptions::Ask::Nothing)
        options.ask = ask;
}

void setPlugin(HostOptions& options, std::string_view path) {
    options.plugin = std::string(path);
}

constexpr OptionRow<HostOptions> kOptions[] = {
    {.longName = "plugin",
     .valueName = "PATH",
     .apply = setPlugin,
     .help = "the plug-in to start (default: tabulon beside tabulon-host,\n"
             "else tabulon on PATH)"},
    {.shortName = 'h', .longName = "help", .apply = setAsk<HostOptions::Ask::Help>},
    {.longName = "version", .apply = setAsk<HostOptions::Ask::Version>},
};

// "-" and "--" are no commands, so they stay unknown options.
constexpr OptionTable<HostOptions> kTable(kOptions, Dashes::AreOptions,
                                          HelpLayout{.column = 18, .alignLongNames = false});

constexpr const char* kHelpStart = R"(Usage: tabulon-host COMMAND [--plugin PATH]
The host editor's plug-in core on the D-Bus session bus, for editors that can
run a command and read its output.

  serve      own the core and log every call, one line each (method, key, type,
             value; tab-separated, escaped) until SIGTERM or SIGINT
  register   run 'PATH /hkpreg' and print the registration it sent as INI lines;
             exit with the plug-in's status
  run        run 'PATH /hkprun' and print the text its Insert command handed over,
             byte for byte; exit 1 when it ended without Insert
               e.g. in vim:  :r !tabulon-host run

)";

constexpr const char* kHelpEnd = R"(
Exit status 2: a usage error, no session bus, or another program owns the core.
)";

void print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// SIGTERM and SIGINT end the event loop, so the program ends in order.
void quitOnSignals(QObject* parent) {
    const int watched = watchSignals({SIGTERM, SIGINT});
    if (watched < 0)
        return;
    auto* notifier = new QSocketNotifier(watched, QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, [watched] {
        takeSignal(watched);
        QCoreApplication::quit();
    });
}

QString defaultPlugin() {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tabulon"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("tabulon"));
    return onPath.isEmpty() ? beside : onPath;
}

// Owns the core's name on the session bus for the life of the object.
class Owner {
public:
    explicit Owner(HostService& service) : bus_(QDBusConnection::sessionBus()) {
        if (!bus_.isConnected()) {
            error_ =
                QStringLiteral("tabulon-host: no D-Bus session bus (%1)\n").arg(bus_.lastError().message());
            return;
        }
        if (!bus_.registerObject(QString::fromLatin1(kPath), &service, QDBusConnection::ExportAllSlots) ||
            !bus_.registerService(QString::fromLatin1(kName))) {
            error_ = QStringLiteral("tabulon-host: another program already owns %1 on the session bus\n")
                         .arg(QString::fromLatin1(kName));
        }
    }
    ~Owner() {
        if (ok())
            bus_.unregisterService(QString::fromLatin1(kName));
        bus_.unregisterObject(QString::fromLatin1(kPath));
    }
    bool ok() const { return error_.isEmpty(); }
    // Empty when ok().
    const QString& error() const { return error_; }

private:
    QDBusConnection bus_;
    QString error_;
};

// Runs the plug-in with one switch while the event loop serves its calls;
// returns its exit status, or -1 when it could not be started. QProcess, unlike
// the window's browser launcher (posix_spawn): the host waits for this child
// anyway, needs its error output, and must not leave it running when it ends.
int runPlugin(const QString& plugin, const QString& switchText, const std::function<bool()>& succeeded) {
    QProcess process;
    process.setProgram(plugin);
    process.setArguments({switchText});
    // Its output could end up in the editor's document: kept back, and shown
    // only when the run went wrong.
    process.setStandardOutputFile(QProcess::nullDevice());
    int status = -1;
    QObject::connect(&process, &QProcess::finished, [&status](int code, QProcess::ExitStatus how) {
        status = how == QProcess::NormalExit ? code : 128;
        QCoreApplication::exit(0);
    });
    QObject::connect(&process, &QProcess::errorOccurred, [&process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            print(stderr, QStringLiteral("tabulon-host: cannot start %1: %2\n")
                              .arg(process.program(), process.errorString()));
            QCoreApplication::exit(0);
        }
    });
    process.start();
    QCoreApplication::exec();
    if (status != 0 || !succeeded())
        print(stderr, QString::fromLocal8Bit(process.readAllStandardError()));
    return status;
}

} // namespace

int runHost(const QStringList& arguments) {
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& arg : arguments)
        utf8.push_back(arg.toStdString());
    const std::vector<std::string_view> args(utf8.begin(), utf8.end());

    HostOptions options;
    QString command;
    QString problem; // the first mistake; a --help or --version anywhere still wins
    const auto fail = [&problem](const QString& text) {
        if (problem.isEmpty())
            problem = text;
    };
    kTable.read(
        args, options,
        [&](std::string_view operand) {
            const QString arg = QString::fromUtf8(operand.data(), static_cast<qsizetype>(operand.size()));
            if (!command.isEmpty())
                fail(QStringLiteral("one command only, not both '%1' and '%2'").arg(command, arg));
            else if (arg != QLatin1String("serve") && arg != QLatin1String("register") &&
                     arg != QLatin1String("run"))
                fail(QStringLiteral("unknown command '%1'").arg(arg));
            else
                command = arg;
        },
        [&](const ArgumentError& error) {
            const QString arg =
                QString::fromUtf8(error.argument.data(), static_cast<qsizetype>(error.argument.size()));
            fail(error.kind == ArgumentError::Kind::UnknownOption
                     ? QStringLiteral("unknown option '%1'").arg(arg)
                     : QStringLiteral("option '%1' needs a path").arg(arg));
            return true;
        });
    if (options.ask == HostOptions::Ask::Help) {
        print(stdout, QString::fromLatin1(kHelpStart) + QString::fromStdString(kTable.help()) +
                          QString::fromLatin1(kHelpEnd));
        return kExitOk;
    }
    if (options.ask == HostOptions::Ask::Version) {
        print(stdout, QStringLiteral("tabulon-host %1\n").arg(QString::fromLatin1(kVersionText)));
        return kExitOk;
    }
    if (command.isEmpty())
        fail(QStringLiteral("no command given (serve, register or run)"));
    if (!problem.isEmpty()) {
        print(stderr, QStringLiteral("tabulon-host: %1\nTry 'tabulon-host --help' for more information.\n")
                          .arg(problem));
        return kExitUsage;
    }

    HostService service;
    const Owner owner(service);
    if (!owner.ok()) {
        print(stderr, owner.error());
        return kExitUsage;
    }

    if (command == QLatin1String("serve")) {
        QObject::connect(&service, &HostService::called,
                         [](const Call& call) { print(stdout, formatCall(call) + QLatin1Char('\n')); });
        quitOnSignals(&service);
        QCoreApplication::exec();
        return kExitOk;
    }

    const QString plugin = options.plugin.empty() ? defaultPlugin() : QString::fromStdString(options.plugin);
    if (command == QLatin1String("register")) {
        const int status =
            runPlugin(plugin, QStringLiteral("/hkpreg"), [&] { return !service.data().isEmpty(); });
        if (!service.data().isEmpty()) {
            QString ini = QStringLiteral("[Registration]\n");
            for (const Call& call : service.data())
                ini +=
                    escape(call.key) + QLatin1Char('=') + escape(call.value.toString()) + QLatin1Char('\n');
            print(stdout, ini);
        }
        return status < 0 ? kExitNoResult : status;
    }

    // run: the text handed over after "MODE_OUTPUT" 2, if any.
    bool armed = false;
    std::optional<QString> output;
    QObject::connect(&service, &HostService::called, [&](const Call& call) {
        if (call.key == QLatin1String("MODE_OUTPUT"))
            armed = call.value.toInt() == 2;
        else if (armed && call.key == QLatin1String("OUTPUT"))
            output = call.value.toString();
    });
    runPlugin(plugin, QStringLiteral("/hkprun"), [&] { return output.has_value(); });
    if (!output)
        return kExitNoResult;
    print(stdout, *output);
    return kExitOk;
}

} // namespace tabulon::host
