#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <QFileInfo>

#include "app/file_names.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

const char* const kUsage = R"(Usage: tabulon [FILE...]
       tabulon /hkprun | /hkpreg | /setupregistry
Opens the window that turns files into a list, by default an HTML table. The files
named become its selection, as files dropped on it do; folders and names that are
no file are left out.

  /hkprun          run as the plug-in of a host editor on the D-Bus session bus
  /hkpreg          register with the host editor and end
  /setupregistry   record the folder of the help page and end
  --               every argument after it names a file (./-name does too)
  --help           show this text and end
  --version        show the version and end

A switch acts only when it is the whole command line.
)";

} // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument == QLatin1String("--help")) {
            return {CommandLine::Request::Help, {}};
        } else if (options && argument == QLatin1String("--version")) {
            return {CommandLine::Request::Version, {}};
        } else if (!options || !argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            line.names << argument;
        }
    }
    return line;
}

QStringList fileNames(const QStringList& typed, const QStringList& leftByToolkit) {
    const QLatin1String end("--");
    QStringList names = readCommandLine(leftByToolkit.mid(0, leftByToolkit.indexOf(end))).names;
    if (const qsizetype at = typed.indexOf(end); at >= 0)
        names += typed.mid(at + 1);
    return names;
}

QStringList rawArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int answer(CommandLine::Request request) {
    const std::string text = request == CommandLine::Request::Version
                                 ? std::string("tabulon ") + kVersionText + "\n"
                                 : std::string(kUsage);
    // A full disk or a closed pipe is a failure, not a silent success.
    errno = 0;
    if (std::fputs(text.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tabulon: cannot write to standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

QStringList namedFiles(const QStringList& names) {
    for (const QString& name : names) {
        if (!QFileInfo(name).isFile())
            std::fprintf(stderr, "tabulon: left out, not a file: %s\n", name.toLocal8Bit().constData());
    }
    return regularFiles(names);
}

} // namespace tabulon
