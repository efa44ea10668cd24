#include "core/net/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

namespace halvex {

KeychainSecretStore::KeychainSecretStore(QString service, QString key)
    : m_service(std::move(service)),
      m_key(std::move(key))
{}

void KeychainSecretStore::read(std::function<void(Outcome, QByteArray)> done)
{
    auto* job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(m_key);
    // Never a plain-text copy somewhere else: without a store the caller keeps its own file.
    job->setInsecureFallback(false);
    QObject::connect(job, &QKeychain::Job::finished, job, [job, done = std::move(done)] {
        switch (job->error()) {
        case QKeychain::NoError:
            done(Outcome::found, job->binaryData());
            return;
        case QKeychain::EntryNotFound:
            done(Outcome::missing, {});
            return;
        default:
            done(Outcome::unavailable, {});
            return;
        }
    });
    job->start();
}

void KeychainSecretStore::write(QByteArray secret, std::function<void(bool stored)> done)
{
    QKeychain::Job* job = nullptr;
    if (secret.isEmpty()) {
        auto* remove = new QKeychain::DeletePasswordJob(m_service);
        remove->setKey(m_key);
        job = remove;
    } else {
        auto* store = new QKeychain::WritePasswordJob(m_service);
        store->setKey(m_key);
        store->setBinaryData(secret);
        job = store;
    }
    job->setInsecureFallback(false);
    QObject::connect(job, &QKeychain::Job::finished, job, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError || job->error() == QKeychain::EntryNotFound);
    });
    job->start();
}

} // namespace halvex
