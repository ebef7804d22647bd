#pragma once

#include <QStringList>

// What the window program's command line asks for besides the host editor's
// switches, which are compared with the whole argument text (app/start.h).
namespace tabulon {

struct CommandLine {
    enum class Request { Window, Help, Version };
    Request request = Request::Window;
    QStringList names; // the files named, as typed
};

// `arguments`: those after the program's name. --help and --version before a
// "--" are requests; any other argument that starts with '-' before it is an
// option of the toolkit's; everything else, and all after "--", names a file.
CommandLine readCommandLine(const QStringList& arguments);

// The files named on the command line: before a "--" those among what the
// toolkit left of the arguments (its options and their values taken out),
// after it every argument as typed, since the toolkit does not stop at "--".
QStringList fileNames(const QStringList& typed, const QStringList& leftByToolkit);

// The arguments after the program's name, as the process got them.
QStringList rawArguments(int argc, const char* const* argv);

// Prints the usage or the version on standard output; the exit status.
int answer(CommandLine::Request request);

// The regular files among `names`, absolute; each name left out is reported
// on standard error, since a typing mistake would otherwise go unseen.
QStringList namedFiles(const QStringList& names);

} // namespace tabulon
