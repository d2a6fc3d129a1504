#pragma once

// Passwords are kept only as Argon2id hashes in libsodium's self-describing text form
// (algorithm, limits, salt and hash in one string). New hashes take 19 MiB and two passes,
// the first configuration OWASP's password storage guidance recommends for Argon2id: some
// 50 ms on one core, so two cores check some forty logins a second. A hash made with other
// limits still verifies with its own, and is made again with these at the next good login.

#include <string>
#include <string_view>

namespace ladder {

// A new hash with a fresh random salt. Throws std::runtime_error when out of memory.
std::string HashPassword(std::string_view password);

// Whether password matches hash; false too for a text that is no valid hash. Takes as long
// for a wrong password as for the right one.
bool VerifyPassword(std::string_view hash, std::string_view password);

// Whether hash was made with other limits than HashPassword's, and should be made again.
bool NeedsRehash(std::string_view hash);

// A valid hash of a random password nobody knows: checking against it costs what checking a
// real account costs, so a refusal takes as long for an unknown user as for a known one.
const std::string& DummyPasswordHash();

}  // namespace ladder
