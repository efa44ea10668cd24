#pragma once
// The secret in the desktop's Secret Service, through QtKeychain. Any failure to reach a store
// (none on the bus, a locked or refusing one) reads as `unavailable`.
#include "core/net/SecretStore.h"

#include <QString>

namespace halvex {

class KeychainSecretStore final : public SecretStore {
public:
    KeychainSecretStore(QString service, QString key);

    void read(std::function<void(Outcome, QByteArray)> done) override;
    void write(QByteArray secret, std::function<void(bool stored)> done) override;

private:
    QString m_service;
    QString m_key;
};

} // namespace halvex
