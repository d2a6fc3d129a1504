#pragma once

#include <vector>

#include "ladder_server/store/store.h"

namespace testing_support {

// The whole standings of source (a store or the game service), read page after page of
// pageSize rows, each page after the last row of the one before.
template <class Source>
std::vector<ladder::Standing> EveryStanding(Source& source, std::size_t pageSize = 3) {
    std::vector<ladder::Standing> all;
    ladder::StandingsQuery query;
    query.limit = pageSize;
    for (;;) {
        const auto page = source.Standings(query);
        all.insert(all.end(), page->rows.begin(), page->rows.end());
        if (!page->later || page->rows.empty()) {
            return all;
        }
        const ladder::Standing& last = page->rows.back();
        query.from = ladder::StandingsQuery::From::After;
        query.key = ladder::StandingKey{last.solved, last.bestSeconds, last.user};
    }
}

}  // namespace testing_support
