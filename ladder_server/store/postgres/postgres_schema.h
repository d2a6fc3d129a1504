#pragma once

// The PostgreSQL layout, versioned in code like the SQLite one (sqlite_schema.h): the same version
// numbers, each migration in this dialect. The table schema_version holds a row for every
// migration applied; a new layout is a new migration appended to the list in
// postgres_schema.cpp, never an edit of an old one.

#include <pqxx/connection>

namespace ladder::postgres {

// The schema version this server writes and reads; the same as SQLite's.
int LatestSchemaVersion();

// Brings the database to version (tests stop short of the latest to make an older one), each
// migration in its own transaction, so a
// failure leaves the database at the last version that completed. Servers starting at once
// take turns: only one applies a migration, the others find it applied. Throws, also for a
// database made by a newer server (a version above the latest), which it leaves alone.
void Migrate(pqxx::connection& connection, int version = LatestSchemaVersion());

// The version the database is at: 0 for a database the ladder has never used.
int SchemaVersion(pqxx::connection& connection);

}  // namespace ladder::postgres
