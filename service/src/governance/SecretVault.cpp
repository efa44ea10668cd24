#include "governance/SecretVault.h"

#include "core/Crypto.h"

#include <sodium.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace service {

namespace {

using Key = std::array<unsigned char, crypto_secretbox_KEYBYTES>;

bool readKey(const std::string& path, Key& key)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t n = ::read(fd, key.data(), key.size());
    ::close(fd);
    return n == static_cast<ssize_t>(key.size());
}

// Made once per data folder, readable by its owner only.
Key vaultKey(const Service& s)
{
    static std::mutex lock;
    std::lock_guard guard(lock);
    const std::string path = s.opt.dataDir + "/vault.key";
    Key key{};
    if (readKey(path, key))
        return key;
    randombytes_buf(key.data(), key.size());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, key.data(), key.size()) != static_cast<ssize_t>(key.size())) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("the secret key cannot be written");
    }
    ::close(fd);
    return key;
}

std::optional<std::vector<unsigned char>> unhex(const std::string& text)
{
    if (text.size() % 2)
        return std::nullopt;
    std::vector<unsigned char> out(text.size() / 2);
    size_t written = 0;
    if (sodium_hex2bin(out.data(), out.size(), text.data(), text.size(), nullptr, &written, nullptr) != 0
        || written != out.size())
        return std::nullopt;
    return out;
}

} // namespace

std::string sealSecret(const Service& s, const std::string& plain)
{
    const Key key = vaultKey(s);
    std::vector<unsigned char> box(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plain.size());
    unsigned char* nonce = box.data();
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES, reinterpret_cast<const unsigned char*>(plain.data()),
                          plain.size(), nonce, key.data());
    return hex(box.data(), box.size());
}

std::optional<std::string> openSecret(const Service& s, const std::string& sealed)
{
    const auto box = unhex(sealed);
    if (!box || box->size() < crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES)
        return std::nullopt;
    const Key key = vaultKey(s);
    const unsigned char* nonce = box->data();
    const size_t cipherBytes = box->size() - crypto_secretbox_NONCEBYTES;
    std::string plain(cipherBytes - crypto_secretbox_MACBYTES, '\0');
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plain.data()), nonce + crypto_secretbox_NONCEBYTES,
                                   cipherBytes, nonce, key.data())
        != 0)
        return std::nullopt;
    return plain;
}

} // namespace service
