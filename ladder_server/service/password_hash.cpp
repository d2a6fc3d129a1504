#include "ladder_server/service/password_hash.h"

#include <sodium.h>

#include <optional>
#include <stdexcept>

#include "ladder_server/service/sodium_init.h"

namespace ladder {

namespace {

constexpr unsigned long long kPasses = 2;
constexpr std::size_t kMemoryBytes = 19 * 1024 * 1024;

// crypto_pwhash_str_verify and crypto_pwhash_str_needs_rehash want a NUL-terminated hash of
// bounded length; nothing when hash cannot be one.
std::optional<std::string> Terminated(std::string_view hash) {
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES ||
        hash.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(hash);
}

}  // namespace

std::string HashPassword(std::string_view password) {
    InitSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(hash, password.data(), password.size(), kPasses, kMemoryBytes,
                              crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::runtime_error("out of memory while hashing a password");
    }
    return hash;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
    InitSodium();
    const auto terminated = Terminated(hash);
    return terminated &&
           crypto_pwhash_str_verify(terminated->c_str(), password.data(), password.size()) == 0;
}

bool NeedsRehash(std::string_view hash) {
    InitSodium();
    const auto terminated = Terminated(hash);
    return !terminated ||
           crypto_pwhash_str_needs_rehash(terminated->c_str(), kPasses, kMemoryBytes) != 0;
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
