// Reading which page of the standings a query asks for, the cursors, and the entity tags.

#include "ladder_server/routes/standings_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ladder::StandingKey;
using ladder::StandingsQuery;
using From = ladder::StandingsQuery::From;

// A query as text, to compare whole: "top 50", "after 12.345.alice 10", "around bob 50",
// or the refusal's "400".
std::string Described(const ladder::Parsed<StandingsQuery>& parsed) {
    const auto* query = std::get_if<StandingsQuery>(&parsed);
    if (query == nullptr) {
        EXPECT_FALSE(std::get<ladder::BadRequest>(parsed).message.empty());
        return "400";
    }
    switch (query->from) {
        case From::Top:
            return "top " + std::to_string(query->limit);
        case From::After:
        case From::Before:
            return std::string(query->from == From::After ? "after " : "before ") +
                   ladder::FormatStandingKey(query->key) + " " + std::to_string(query->limit);
        case From::Around:
            return "around " + query->player + " " + std::to_string(query->limit);
    }
    return "?";
}

TEST(StandingsRequestTest, QueriesReadAsPagesAndEverythingElseIsRefused) {
    const std::string longName(33, 'a');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "top 50"},
        {"limit=1", "top 1"},
        {"limit=200", "top 200"},
        {"limit=007&", "top 7"},
        {"after=12.345.alice", "after 12.345.alice 50"},
        {"before=0..bob&limit=3", "before 0..bob 3"},
        {"after=3.60.a.b.c", "after 3.60.a.b.c 50"},  // the user holds dots
        {"after=1%2E2%2Ex%20y", "after 1.2.x y 50"},  // any place, not only a player's
        {"after=9223372036854775807..z", "after 9223372036854775807..z 50"},
        {"player=d.Artagnan_-1", "around d.Artagnan_-1 50"},
        {"limit=20&player=bob", "around bob 20"},
        {"player=" + std::string(32, 'x'), "around " + std::string(32, 'x') + " 50"},
        // Refused: numbers out of range or not numbers at all.
        {"limit=0", "400"},
        {"limit=201", "400"},
        {"limit=-1", "400"},
        {"limit=+5", "400"},
        {"limit=", "400"},
        {"limit=99999999999999999999999", "400"},
        {"limit=5%20", "400"},
        {"after=9223372036854775808..z", "400"},
        {"after=-1.5.z", "400"},
        {"after=1.-5.z", "400"},
        {"after=1.0x5.z", "400"},
        // Malformed cursors and names.
        {"after", "400"},
        {"after=", "400"},
        {"after=12.345", "400"},
        {"after=12.345.", "400"},
        {"before=.5.z", "400"},
        {"after=1.2." + longName, "400"},
        {"after=1.2.a%00b", "400"},
        {"player=", "400"},
        {"player=" + longName, "400"},
        {"player=%3Cscript%3E", "400"},
        {"player=bob%0A", "400"},
        {"player=b+ob", "400"},
        // Unknown, repeated or conflicting parameters, broken escapes.
        {"page=2", "400"},
        {"Limit=5", "400"},
        {"limit=5&limit=5", "400"},
        {"player=bob&player=bob", "400"},
        {"after=1.2.a&before=1.2.a", "400"},
        {"player=bob&after=1.2.a", "400"},
        {"limit=%", "400"},
        {"limit=%4", "400"},
        {"player=%zzbob", "400"},
        {"%=1", "400"},
    };
    for (const auto& [query, expected] : cases) {
        SCOPED_TRACE(query);
        EXPECT_EQ(Described(ladder::ParseStandingsQuery(query)), expected);
    }
}

TEST(StandingsRequestTest, CursorsReadBackAndLeadToTheNeighbouringPages) {
    for (const StandingKey& key :
         {StandingKey{12, 345, "alice"}, StandingKey{0, std::nullopt, "bob"},
          StandingKey{7, 0, "a.b..c"}, StandingKey{1, 2, "<&\"x y'>"}}) {
        const std::string text = ladder::FormatStandingKey(key);
        SCOPED_TRACE(text);
        const auto read = ladder::ParseStandingKey(text);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->solved, key.solved);
        EXPECT_EQ(read->bestSeconds, key.bestSeconds);
        EXPECT_EQ(read->user, key.user);
        // Written into a link and read from it again, it is the same place.
        const auto pairs = ladder::ParseQueryString("after=" + ladder::EncodeQueryValue(text));
        ASSERT_TRUE(pairs);
        EXPECT_EQ(pairs->at(0).second, text);
    }
    EXPECT_EQ(ladder::FormatStandingKey({0, std::nullopt, "bob"}), "0..bob");

    const ladder::StandingsPage middle{
        {{"bob", 3, 60, 2}, {"carol", 1, std::nullopt, 3}}, 9, true, true};
    ladder::PageCursors cursors = ladder::CursorsOf(middle);
    EXPECT_EQ(cursors.previous, "3.60.bob");
    EXPECT_EQ(cursors.next, "1..carol");
    for (const ladder::StandingsPage& page :
         {ladder::StandingsPage{{{"alice", 5, 10, 1}}, 1, false, false},
          ladder::StandingsPage{{}, 9, true, false}}) {  // past the end
        cursors = ladder::CursorsOf(page);
        EXPECT_FALSE(cursors.previous);
        EXPECT_FALSE(cursors.next);
    }
}

TEST(StandingsRequestTest, EntityTagsAreQuotedHashesAndIfNoneMatchComparesThemWeakly) {
    const std::string tag = ladder::EntityTag("{\"standings\": []}");
    ASSERT_EQ(tag.size(), 18u);
    EXPECT_EQ(tag.front(), '"');
    EXPECT_EQ(tag.back(), '"');
    EXPECT_EQ(tag.find_first_not_of("0123456789abcdef", 1), 17u) << tag;
    EXPECT_EQ(ladder::EntityTag("{\"standings\": []}"), tag);
    EXPECT_NE(ladder::EntityTag("{\"standings\": [] }"), tag);
    EXPECT_EQ(ladder::EntityTag(""), "\"cbf29ce484222325\"");  // FNV-1a's offset basis

    const std::string inner = tag.substr(1, 16);
    for (const auto& [header, matches] : std::vector<std::pair<std::string, bool>>{
             {tag, true},
             {"W/" + tag, true},
             {"\"x\", " + tag, true},
             {" \"x\",,\t W/" + tag + " ,\"y\"", true},
             {"*", true},
             {"", false},
             {"\"x\"", false},
             {inner, false},
             {"W/\"" + inner, false},
             {"\"" + inner + "0\"", false},
             {"garbage, " + tag, false},  // nothing is read past where the list goes wrong
         }) {
        SCOPED_TRACE(header);
        EXPECT_EQ(ladder::NoneMatchNames(header, tag), matches);
    }
}

}  // namespace
