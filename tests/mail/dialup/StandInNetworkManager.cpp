#include "StandInNetworkManager.h"

namespace brindle::test {

namespace {
const QString RecordName = QStringLiteral("deactivated.txt");
}

StandInNetworkManager::~StandInNetworkManager() {
    stop();
}

bool StandInNetworkManager::start(const QString& busAddress, const QStringList& types,
                                  const QString& listReply) {
    service_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service_.start(QStringLiteral(BRINDLE_FAKE_NETWORK_MANAGER),
                   QStringList{QStringLiteral("--bus"), busAddress, QStringLiteral("--record"),
                               records_.file(RecordName), QStringLiteral("--list-reply"),
                               listReply} +
                       types);
    while (!service_.canReadLine() && service_.waitForReadyRead(10000)) {
    }
    return service_.readLine().trimmed() == "ready";
}

void StandInNetworkManager::stop() {
    if (service_.state() != QProcess::NotRunning) {
        service_.kill();
        service_.waitForFinished();
    }
}

QStringList StandInNetworkManager::deactivated() const {
    return QString::fromUtf8(records_.read(RecordName)).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace brindle::test
