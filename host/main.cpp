#include <QCoreApplication>

#include "host/host_commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return tabulon::host::runHost(QCoreApplication::arguments().mid(1));
}
