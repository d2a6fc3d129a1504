#pragma once

// The database layout, versioned in code. SQLite's user_version holds the number of the
// last migration applied; a new layout is a new migration appended to the list in
// schema.cpp, never an edit of an old one.

#include "ladder_server/store/sqlite/sqlite.h"

namespace ladder {

// The schema version this server writes and reads.
int LatestSchemaVersion();

// Brings the database to version (tests stop short of the latest to make an older one), each
// migration in its own transaction, so a
// failure leaves the database at the last version that completed. Throws sqlite::Error, also
// for a database made by a newer server (a version above the latest), which it leaves alone.
void Migrate(sqlite::Connection& connection, int version = LatestSchemaVersion());

// The version the database is at: 0 for a new, empty file.
int SchemaVersion(sqlite::Connection& connection);

}  // namespace ladder
