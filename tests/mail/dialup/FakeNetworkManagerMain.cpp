// Test helper: serves the stand-in NetworkManager on the bus given by --bus and
// prints "ready" once it owns the service name.
#include "FakeNetworkManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QHash>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption bus(QStringLiteral("bus"), "bus address", "address");
    const QCommandLineOption record(QStringLiteral("record"), "deactivation record", "file");
    const QCommandLineOption list(QStringLiteral("list-reply"), "paths, error, numbers or silence",
                                  "reply", QStringLiteral("paths"));
    parser.addOptions({bus, record, list});
    parser.addPositionalArgument(QStringLiteral("types"), "active connection types, in order");
    parser.process(app);

    using ListReply = brindle::test::FakeNetworkManager::ListReply;
    const QHash<QString, ListReply> listReplies{{QStringLiteral("paths"), ListReply::Paths},
                                                {QStringLiteral("error"), ListReply::Error},
                                                {QStringLiteral("numbers"), ListReply::Numbers},
                                                {QStringLiteral("silence"), ListReply::Silence}};
    const ListReply reply = listReplies.value(parser.value(list), ListReply::Paths);
    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
    brindle::test::FakeNetworkManager manager(parser.positionalArguments(), reply,
                                              parser.value(record));

    QDBusConnection connection =
        QDBusConnection::connectToBus(parser.value(bus), QStringLiteral("fake-network-manager"));
    if (!connection.registerVirtualObject(QStringLiteral("/org/freedesktop/NetworkManager"),
                                          &manager, QDBusConnection::SubPath) ||
        !connection.registerService(QStringLiteral("org.freedesktop.NetworkManager"))) {
        std::fputs("cannot serve on the bus\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
