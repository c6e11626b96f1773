// Starts and stops the PostgreSQL server a test run shares (ctest runs it before and after the
// tests that need it):
//   postgres_test_server start STATEFILE   a new server; its folder is written to STATEFILE
//   postgres_test_server stop STATEFILE    stops that server and removes its folder and STATEFILE
#include "tests/support/PostgresServer.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <stdexcept>

namespace {

QString folderIn(const QString& stateFile)
{
    QFile state(stateFile);
    return state.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(state.readAll()).trimmed() : QString();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3 || (arguments[1] != "start" && arguments[1] != "stop")) {
        std::fprintf(stderr, "usage: postgres_test_server start|stop STATEFILE\n");
        return 2;
    }
    const QString stateFile = arguments[2];
    // A server an interrupted run left behind goes first.
    testing_support::PostgresServer::stop(folderIn(stateFile));
    QFile::remove(stateFile);
    if (arguments[1] == "stop")
        return 0;
    try {
        const QString folder = testing_support::PostgresServer::start();
        QFile state(stateFile);
        if (!state.open(QIODevice::WriteOnly) || state.write(folder.toLocal8Bit()) < 0) {
            testing_support::PostgresServer::stop(folder);
            std::fprintf(stderr, "cannot write %s\n", qPrintable(stateFile));
            return 1;
        }
        std::printf("PostgreSQL test server in %s\n", qPrintable(folder));
        return 0;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
