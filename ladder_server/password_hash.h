#pragma once

// Passwords are kept only as Argon2id hashes in libsodium's self-describing text form
// (algorithm, limits, salt and hash in one string), made with the "interactive" limits:
// about 64 MiB and a few tens of milliseconds per hash.

#include <string>
#include <string_view>

namespace ladder {

// A new hash with a fresh random salt. Throws std::runtime_error when out of memory.
std::string HashPassword(std::string_view password);

// Whether password matches hash; false too for a text that is no valid hash. Takes as long
// for a wrong password as for the right one.
bool VerifyPassword(std::string_view hash, std::string_view password);

// A valid hash of a random password nobody knows: checking against it costs what checking a
// real account costs, so a refusal takes as long for an unknown user as for a known one.
const std::string& DummyPasswordHash();

}  // namespace ladder
