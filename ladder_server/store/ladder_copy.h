#pragma once

// Moving a whole ladder from one store into another, as from the SQLite file of one machine
// into the PostgreSQL database of several.

#include <cstdint>

#include "ladder_server/store/store.h"

namespace ladder {

struct CopyCounts {
    std::int64_t users = 0;
    std::int64_t games = 0;
    bool version = false;  // whether a version setting was copied
};

// Copies every user (id, password hash, times kept), every game (id, puzzle, solution,
// state, times) and the version setting of from into to, in one transaction of to: a copy
// that fails leaves to as it was. Throws LadderNotEmpty when to holds users or games.
CopyCounts CopyLadder(Store& from, Store& to);

}  // namespace ladder
