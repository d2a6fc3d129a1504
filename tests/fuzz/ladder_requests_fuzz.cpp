// Fuzz target: the ladder server's request parsers take any bytes without crashing or
// throwing, and what they accept has the form the protocol promises: a finish grid of 81
// cells, each empty or a digit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ladder_server/routes/requests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const auto start = ladder::ParseStartRequest(body);
    const auto forfeit = ladder::ParseForfeitRequest(body);
    const auto finish = ladder::ParseFinishRequest(body);
    if (const auto* request = std::get_if<ladder::FinishRequest>(&finish)) {
        for (const auto cell : request->grid.cells) {
            if (cell > 9) {
                std::abort();
            }
        }
        // A finish names every field a forfeit does, and those of a start.
        if (!std::holds_alternative<ladder::ForfeitRequest>(forfeit) ||
            !std::holds_alternative<ladder::StartRequest>(start)) {
            std::abort();
        }
    }
    if (const auto* request = std::get_if<ladder::ForfeitRequest>(&forfeit)) {
        const auto* started = std::get_if<ladder::StartRequest>(&start);
        if (started == nullptr || started->user != request->user ||
            started->password != request->password) {
            std::abort();
        }
    }
    return 0;
}
