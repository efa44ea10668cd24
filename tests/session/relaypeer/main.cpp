// A second launch of the app, as its own process, for the single-instance tests:
//   halvex-relay-peer <server name> [--as-user <uid>] [address...]
// Exits 0 when it handed over to a running instance, 3 when it became the instance itself,
// 1 when neither worked, 2 on a bad command line.
#include "session/service/CallbackRelay.h"

#include <QCoreApplication>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    const QString serverName = args.takeAt(1);
    if (args.size() >= 3 && args.at(1) == QLatin1String("--as-user")) {
        bool ok = false;
        const uint uid = args.at(2).toUInt(&ok);
        // Another user on the same machine: only root can become one.
        if (!ok || ::setgid(uid) != 0 || ::setuid(uid) != 0)
            return 2;
        args.remove(1, 2);
    }
    halvex::CallbackRelay relay(serverName);
    switch (relay.claim(halvex::CallbackRelay::urlsInArguments(args))) {
    case halvex::CallbackRelay::Launch::handedOver:
        return 0;
    case halvex::CallbackRelay::Launch::first:
        return 3;
    case halvex::CallbackRelay::Launch::failed:
        return 1;
    }
    return 1;
}
