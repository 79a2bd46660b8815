#include "signin/KeyringSecretStore.h"

#include "mail/net/LocalEventLoop.h"

#include <QCoreApplication>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace brindle {

namespace {

const QString Service = QStringLiteral("Brindle");

struct JobEnd {
    bool finished = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorText;
    QByteArray data;
};

// Starts the job (which deletes itself once finished) and waits for it,
// JobLimitMs at most.
JobEnd run(QKeychain::Job* job) {
    JobEnd end;
    job->setInsecureFallback(false); // never a plain file
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&end, &loop](QKeychain::Job* done) {
        end.finished = true;
        end.error = done->error();
        end.errorText = done->errorString();
        if (auto* reading = qobject_cast<QKeychain::ReadPasswordJob*>(done)) {
            end.data = reading->textData().toUtf8();
        }
        loop.quit();
    });
    bool late = false;
    QTimer::singleShot(KeyringSecretStore::JobLimitMs, &loop, [&late, &loop] {
        late = true;
        loop.quit();
    });
    job->start();
    runEventLoopUntil(loop, [&] { return end.finished || late; });
    // A late job finishes on its own; the loop it would have woken is gone.
    QObject::disconnect(job, nullptr, &loop, nullptr);
    return end;
}

SecretStore::Failure failure(const JobEnd& end) {
    if (!end.finished) {
        return {QCoreApplication::translate("brindle::SignIn",
                                            "キーリングが時間内に応答しませんでした。")};
    }
    if (end.error == QKeychain::NoBackendAvailable) {
        return {QCoreApplication::translate(
            "brindle::SignIn", "デスクトップのキーリング (Secret Service) が動いていません。\n"
                               "GNOME Keyring などを起動してからもう一度お試しください。")};
    }
    return {QCoreApplication::translate("brindle::SignIn", "キーリングを使えませんでした: %1")
                .arg(end.errorText)};
}

} // namespace

std::variant<QByteArray, SecretStore::Missing, SecretStore::Failure>
KeyringSecretStore::read(const QString& key) {
    auto* job = new QKeychain::ReadPasswordJob(Service);
    job->setKey(key);
    const JobEnd end = run(job);
    if (end.finished && end.error == QKeychain::NoError) {
        return end.data;
    }
    if (end.finished && end.error == QKeychain::EntryNotFound) {
        return Missing{};
    }
    return failure(end);
}

std::optional<SecretStore::Failure> KeyringSecretStore::write(const QString& key,
                                                              const QByteArray& secret) {
    auto* job = new QKeychain::WritePasswordJob(Service);
    job->setKey(key);
    job->setTextData(QString::fromUtf8(secret)); // readable with secret-tool
    const JobEnd end = run(job);
    if (end.finished && end.error == QKeychain::NoError) {
        return std::nullopt;
    }
    return failure(end);
}

std::optional<SecretStore::Failure> KeyringSecretStore::remove(const QString& key) {
    auto* job = new QKeychain::DeletePasswordJob(Service);
    job->setKey(key);
    const JobEnd end = run(job);
    if (end.finished &&
        (end.error == QKeychain::NoError || end.error == QKeychain::EntryNotFound)) {
        return std::nullopt;
    }
    return failure(end);
}

} // namespace brindle
