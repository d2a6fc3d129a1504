#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace puzzle_engine {

// What the three start texts of the class object's default member mean, in their order.
struct StartOptions {
    // Seed of the puzzle generator; 0 draws one from the system's entropy.
    std::uint64_t seed = 0;
    // Version of the ladder protocol the program speaks.
    std::uint32_t protocolVersion = 2;
    // How long one request to the ladder server may take, in milliseconds.
    std::uint32_t serverTimeoutMs = 2000;
};

// Reads the three texts; each must be a plain decimal number that fits its field.
// Returns nothing for any other text.
std::optional<StartOptions> ParseStartOptions(std::string_view seed,
                                              std::string_view protocolVersion,
                                              std::string_view serverTimeoutMs);

}  // namespace puzzle_engine
