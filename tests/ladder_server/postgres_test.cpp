// What the PostgreSQL helpers do without a server: which --database texts are URLs, what a
// URL gets before libpq reads it, and what of it a log may show.

#include "ladder_server/store/postgres/postgres.h"

#include <gtest/gtest.h>

#include "ladder_server/admin/store_factory.h"

namespace {

using ladder::postgres::Redacted;
using ladder::postgres::WithLadderDefaults;

TEST(PostgresTest, UrlsAreToldFromFilesAndKeepTheirPasswordsOutOfLogs) {
    EXPECT_TRUE(ladder::postgres::IsUrl("postgresql://db.example/ladder"));
    EXPECT_TRUE(ladder::postgres::IsUrl("postgres:///ladder?host=/run/postgresql"));
    EXPECT_FALSE(ladder::postgres::IsUrl("/var/lib/quillmark/ladder.db"));
    EXPECT_FALSE(ladder::postgres::IsUrl("postgresql:ladder.db"));
    EXPECT_FALSE(ladder::postgres::IsUrl("Postgresql://db"));

    EXPECT_EQ(Redacted("postgresql://ladder:s3cret@db:5432/ladder?sslmode=require"),
              "postgresql://ladder:***@db:5432/ladder?sslmode=require");
    EXPECT_EQ(Redacted("postgresql://ladder:p@ss@db/ladder"), "postgresql://ladder:***@db/ladder");
    EXPECT_EQ(Redacted("postgresql://ladder@db:5432/ladder"), "postgresql://ladder@db:5432/ladder");
    EXPECT_EQ(Redacted("postgres:///l?host=/run/pg&password=s3cret&sslpassword=k3y&user=l"),
              "postgres:///l?host=/run/pg&password=***&sslpassword=***&user=l");
    // A file name that looks like a password is no URL.
    EXPECT_EQ(ladder::DatabaseForLog("/data/user:pass@x.db"), "/data/user:pass@x.db");
    EXPECT_EQ(ladder::DatabaseForLog("postgresql://u:pw@db/l"), "postgresql://u:***@db/l");

    EXPECT_EQ(WithLadderDefaults("postgresql://db/l"),
              "postgresql://db/l?connect_timeout=10&application_name=quillmark-ladderd"
              "&client_encoding=UTF8");
    EXPECT_EQ(WithLadderDefaults("postgresql://db/l?connect_timeout=3&application_name=x"),
              "postgresql://db/l?connect_timeout=3&application_name=x&client_encoding=UTF8");
    EXPECT_FALSE(ladder::postgres::Storable(std::string("al\0ice", 6)));
}

}  // namespace
