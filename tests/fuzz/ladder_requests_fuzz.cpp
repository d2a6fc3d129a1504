// Fuzz target: the ladder server's request parsers take any bytes without crashing or
// throwing, and what they accept has the form the protocol promises: a finish grid of 81
// cells, each empty or a digit; a standings query's cursor reads back as it is written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ladder_server/routes/requests.h"
#include "ladder_server/routes/standings_request.h"

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
    const auto standings = ladder::ParseStandingsQuery(body);
    const auto* query = std::get_if<ladder::StandingsQuery>(&standings);
    if (query != nullptr && (query->from == ladder::StandingsQuery::From::After ||
                             query->from == ladder::StandingsQuery::From::Before)) {
        const auto again = ladder::ParseStandingKey(ladder::FormatStandingKey(query->key));
        if (!again || again->solved != query->key.solved ||
            again->bestSeconds != query->key.bestSeconds || again->user != query->key.user) {
            std::abort();
        }
    }
    static_cast<void>(ladder::NoneMatchNames(body, ladder::EntityTag(body)));
    return 0;
}
