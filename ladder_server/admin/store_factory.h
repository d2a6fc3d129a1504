#pragma once

// Which store a --database text names: a postgresql:// or postgres:// URL is a PostgreSQL
// database, anything else the path of an SQLite file.

#include <memory>
#include <string>
#include <string_view>

#include "ladder_server/store/store.h"

namespace ladder {

enum class MissingFile {
    Create,  // a new, empty ladder is made, with the folders it lies in
    Refuse,  // std::runtime_error: there is no ladder to read there
};

// Opens the store database names with a pool of maxConnections, its schema brought up to
// date. An SQLite file times games by this machine's wall clock; missing says what a missing
// file means. Throws when the database cannot be opened or reached.
std::unique_ptr<Store> OpenStore(const std::string& database, int maxConnections,
                                 MissingFile missing = MissingFile::Create);

// The database text fit for a log: a URL's password is hidden.
std::string DatabaseForLog(std::string_view database);

}  // namespace ladder
