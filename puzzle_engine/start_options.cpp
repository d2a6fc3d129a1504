#include "puzzle_engine/start_options.h"

#include <charconv>
#include <limits>

namespace puzzle_engine {

namespace {

template <typename Number>
std::optional<Number> ParseDecimal(std::string_view text) {
    Number value{};
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<StartOptions> ParseStartOptions(std::string_view seed,
                                              std::string_view protocolVersion,
                                              std::string_view serverTimeoutMs) {
    auto parsedSeed = ParseDecimal<std::uint64_t>(seed);
    auto parsedProtocol = ParseDecimal<std::uint32_t>(protocolVersion);
    auto parsedTimeout = ParseDecimal<std::uint32_t>(serverTimeoutMs);
    if (!parsedSeed || !parsedProtocol || !parsedTimeout) {
        return std::nullopt;
    }
    return StartOptions{*parsedSeed, *parsedProtocol, *parsedTimeout};
}

}  // namespace puzzle_engine
