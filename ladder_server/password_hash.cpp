#include "ladder_server/password_hash.h"

#include <sodium.h>

#include <algorithm>
#include <semaphore>
#include <stdexcept>
#include <thread>

#include "ladder_server/sodium_init.h"

namespace ladder {

namespace {

// Each hash takes crypto_pwhash_MEMLIMIT_INTERACTIVE (64 MiB). More hashes at once than
// cores buys no speed, only memory, so a burst of logins queues here instead.
std::counting_semaphore<>& HashSlots() {
    static std::counting_semaphore<> slots(std::max<std::ptrdiff_t>(
        2, static_cast<std::ptrdiff_t>(std::thread::hardware_concurrency())));
    return slots;
}

class HashSlot {
public:
    HashSlot() { HashSlots().acquire(); }
    ~HashSlot() { HashSlots().release(); }
    HashSlot(const HashSlot&) = delete;
    HashSlot& operator=(const HashSlot&) = delete;
};

}  // namespace

std::string HashPassword(std::string_view password) {
    InitSodium();
    char hash[crypto_pwhash_STRBYTES];
    HashSlot slot;
    if (crypto_pwhash_str(hash, password.data(), password.size(),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw std::runtime_error("out of memory while hashing a password");
    }
    return hash;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
    InitSodium();
    // crypto_pwhash_str_verify wants a NUL-terminated hash of bounded length.
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES ||
        hash.find('\0') != std::string_view::npos) {
        return false;
    }
    const std::string terminated(hash);
    HashSlot slot;
    return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

const std::string& DummyPasswordHash() {
    static const std::string hash = [] {
        InitSodium();
        unsigned char secret[32];
        randombytes_buf(secret, sizeof secret);
        return HashPassword(std::string_view(reinterpret_cast<const char*>(secret), sizeof secret));
    }();
    return hash;
}

}  // namespace ladder
