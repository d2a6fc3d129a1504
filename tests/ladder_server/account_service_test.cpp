// Accounts: what the operator may add, and who may play.

#include "ladder_server/service/account_service.h"

#include <gtest/gtest.h>

#include "ladder_server/store/sqlite/sqlite_store.h"
#include "tests/ladder_server/manual_clock.h"

namespace {

using ladder::AccountChange;

TEST(AccountServiceTest, UserNamesAndEmailsHaveAPlainForm) {
    for (const char* name : {"a", "alice", "Bob_2", "x.y-z", "abcdefghijklmnopqrstuvwxyz012345"}) {
        EXPECT_TRUE(ladder::IsValidUserName(name)) << name;
    }
    for (const char* name : {"", "with space", "tab\t", "semi;colon", "\xc3\xa4",
                             "abcdefghijklmnopqrstuvwxyz0123456"}) {
        EXPECT_FALSE(ladder::IsValidUserName(name)) << name;
    }
    for (const char* email : {"", "a@b", "first.last@example.org"}) {
        EXPECT_TRUE(ladder::IsValidEmail(email)) << email;
    }
    for (const char* email : {"plain", "@example.org", "a@", "a@b@c", "a b@c", "a@b\n"}) {
        EXPECT_FALSE(ladder::IsValidEmail(email)) << email;
    }
}

class AccountServiceFixture : public ::testing::Test {
protected:
    ladder_testing::ManualClock clock_;
    ladder::SqliteStore store_{":memory:", clock_};
    ladder::AccountService accounts_{store_, clock_};
};

TEST_F(AccountServiceFixture, AddingChecksItsInputAndKeepsOnlyAHash) {
    EXPECT_EQ(accounts_.Add("alice", "secret", "alice@example.org", true), AccountChange::Done);
    EXPECT_EQ(accounts_.Add("alice", "other", "", true), AccountChange::NameTaken);
    EXPECT_EQ(accounts_.Add("no good", "secret", "", true), AccountChange::InvalidName);
    EXPECT_EQ(accounts_.Add("bob", "secret", "nope", true), AccountChange::InvalidEmail);
    EXPECT_EQ(accounts_.Add("bob", "", "", true), AccountChange::EmptyPassword);
    ASSERT_EQ(accounts_.List().size(), 1u);

    const auto alice = store_.FindUser("alice");
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->passwordHash.rfind("$argon2id$", 0), 0u) << alice->passwordHash;
    EXPECT_EQ(alice->passwordHash.find("secret"), std::string::npos);
    EXPECT_NE(ladder::Describe(AccountChange::NameTaken, "alice").find("alice"), std::string::npos);
}

TEST_F(AccountServiceFixture, OnlyAnEnabledUserWithTheRightPasswordIsLetIn) {
    accounts_.Add("alice", "secret", "", true);
    accounts_.Add("bob", "secret", "", false);

    const auto alice = accounts_.Authenticate("alice", "secret", "192.0.2.1");
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->name, "alice");
    EXPECT_FALSE(accounts_.Authenticate("alice", "Secret", "192.0.2.1"));
    EXPECT_FALSE(accounts_.Authenticate("alice", "", "192.0.2.1"));
    EXPECT_FALSE(accounts_.Authenticate("bob", "secret", "192.0.2.1"));
    EXPECT_FALSE(accounts_.Authenticate("carol", "secret", "192.0.2.1"));
    EXPECT_FALSE(accounts_.Authenticate("", "", "192.0.2.1"));

    EXPECT_EQ(accounts_.SetEnabled("bob", true), AccountChange::Done);
    EXPECT_TRUE(accounts_.Authenticate("bob", "secret", "192.0.2.1"));
    EXPECT_EQ(accounts_.SetEnabled("alice", false), AccountChange::Done);
    EXPECT_FALSE(accounts_.Authenticate("alice", "secret", "192.0.2.1"));
    EXPECT_EQ(accounts_.SetEnabled("carol", true), AccountChange::NoSuchUser);
}

TEST_F(AccountServiceFixture, ANewPasswordReplacesTheOld) {
    accounts_.Add("alice", "old", "", true);
    EXPECT_EQ(accounts_.SetPassword("alice", ""), AccountChange::EmptyPassword);
    EXPECT_EQ(accounts_.SetPassword("carol", "x"), AccountChange::NoSuchUser);
    EXPECT_EQ(accounts_.SetPassword("alice", "new"), AccountChange::Done);
    EXPECT_FALSE(accounts_.Authenticate("alice", "old", "192.0.2.1"));
    EXPECT_TRUE(accounts_.Authenticate("alice", "new", "192.0.2.1"));
}

}  // namespace
