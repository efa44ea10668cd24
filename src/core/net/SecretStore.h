#pragma once
// One secret kept somewhere safer than a file: the desktop's secret service. Answers come later
// on the asking thread, or never (a store that hangs): whoever asks bounds the wait.
#include <QByteArray>

#include <functional>

namespace halvex {

class SecretStore {
public:
    enum class Outcome { found, missing, unavailable };

    virtual ~SecretStore() = default;
    virtual void read(std::function<void(Outcome, QByteArray)> done) = 0;
    // An empty secret removes the entry.
    virtual void write(QByteArray secret, std::function<void(bool stored)> done) = 0;
};

} // namespace halvex
