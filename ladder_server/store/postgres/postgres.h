#pragma once

// What the PostgreSQL store needs around libpqxx: the URLs it takes, and the check of an idle
// connection its pool (store/connection_pool.h) makes. A connection that failed a call, or
// that the server closed while it sat idle (a restart of the database), is closed, and the
// next call connects anew: while the database is down every call throws; once it is back the
// store heals by itself.

#include <pqxx/connection>
#include <string>
#include <string_view>

namespace ladder::postgres {

// True for the URLs libpq reads that name a PostgreSQL database: postgresql:// and
// postgres://.
bool IsUrl(std::string_view text);

// url with what the ladder needs of every connection: UTF-8 texts, and a connect timeout
// and an application name unless the URL sets its own.
std::string WithLadderDefaults(std::string url);

// The URL with its password, if it holds one, replaced by "***": for logs and messages.
std::string Redacted(std::string_view url);

// False for a text PostgreSQL cannot hold as it is: one with a NUL character, which libpq
// would cut short there.
bool Storable(std::string_view text);

// Whether an idle connection may still be used: what arrives on one is the server's goodbye
// (a shutdown's notice, the end of the stream), so such a connection is dead already.
bool LooksAlive(pqxx::connection& connection);

}  // namespace ladder::postgres
