#pragma once

namespace ladder {

// Initialises libsodium before its first use (hashing, random bytes); safe to call often
// and from several threads. Throws std::runtime_error when the library cannot start, which
// happens only without an entropy source.
void InitSodium();

}  // namespace ladder
