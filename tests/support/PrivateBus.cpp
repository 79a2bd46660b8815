#include "support/PrivateBus.h"

#include <QUuid>
#include <gtest/gtest.h>

namespace brindle::test {

namespace {

constexpr int startTimeoutMs = 10000;

const char* const configuration = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

PrivateBus::PrivateBus()
    : connectionName_(QStringLiteral("private-bus-") + QUuid::createUuid().toString()) {
    folder_.write(QStringLiteral("bus.conf"),
                  QString::fromLatin1(configuration).arg(folder_.path()).toUtf8());
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + folder_.file(QStringLiteral("bus.conf")),
                   QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(startTimeoutMs)) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    EXPECT_FALSE(address_.isEmpty())
        << "dbus-daemon gave no address: " << daemon_.readAllStandardError().toStdString();
    QDBusConnection::connectToBus(address_, connectionName_);
}

PrivateBus::~PrivateBus() {
    QDBusConnection::disconnectFromBus(connectionName_);
    daemon_.terminate();
    daemon_.waitForFinished();
}

QDBusConnection PrivateBus::connection() const {
    return QDBusConnection(connectionName_);
}

} // namespace brindle::test
