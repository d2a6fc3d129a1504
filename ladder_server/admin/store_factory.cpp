#include "ladder_server/admin/store_factory.h"

#include <filesystem>
#include <stdexcept>

#include "ladder_server/store/clock.h"
#include "ladder_server/store/postgres/postgres.h"
#include "ladder_server/store/postgres/postgres_store.h"
#include "ladder_server/store/sqlite/sqlite_store.h"

namespace ladder {

std::unique_ptr<Store> OpenStore(const std::string& database, int maxConnections,
                                 MissingFile missing) {
    if (postgres::IsUrl(database)) {
        return std::make_unique<PostgresStore>(database, maxConnections);
    }
    if (database != ":memory:") {
        const std::filesystem::path path(database);
        if (missing == MissingFile::Refuse && !std::filesystem::exists(path)) {
            throw std::runtime_error("there is no ladder database " + database);
        }
        if (!path.parent_path().empty()) {
            std::filesystem::create_directories(path.parent_path());
        }
    }
    // Stateless and never destroyed before the stores made here.
    static SystemClock wallClock;
    return std::make_unique<SqliteStore>(database, wallClock, maxConnections);
}

std::string DatabaseForLog(std::string_view database) {
    return postgres::IsUrl(database) ? postgres::Redacted(database) : std::string(database);
}

}  // namespace ladder
