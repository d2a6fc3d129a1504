#include "ladder_server/routes/standings_page.h"

#include <gtest/gtest.h>

namespace ladder {
namespace {

TEST(StandingsPage, ShowsEveryPlayerInOrderWithSharedRanksAndNamesAsText) {
    const std::string page = StandingsPage({
        {"alice", 3, 65},
        {"bob", 3, 65},
        {"<script>alert(1)</script>", 3, 3725},
        {"d'Artagnan & \"Co\"", 1, 360000},
        {"erin", 0, std::nullopt},
    });
    std::size_t at = 0;
    for (const char* row : {
             "<td class=\"number\">1</td><td class=\"player\">alice</td>"
             "<td class=\"number\">3</td><td class=\"number\">00 : 01 : 05</td>",
             "<td class=\"number\">1</td><td class=\"player\">bob</td>",
             "<td class=\"number\">3</td><td class=\"player\">&lt;script&gt;alert(1)&lt;/script&gt;"
             "</td><td class=\"number\">3</td><td class=\"number\">01 : 02 : 05</td>",
             "<td class=\"player\">d&#39;Artagnan &amp; &quot;Co&quot;</td>"
             "<td class=\"number\">1</td><td class=\"number\">100 : 00 : 00</td>",
             "<td class=\"number\">5</td><td class=\"player\">erin</td>"
             "<td class=\"number\">0</td><td class=\"number\">&ndash;</td>",
         }) {
        at = page.find(row, at);
        ASSERT_NE(at, std::string::npos) << row << "\n" << page;
    }
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("ranked by the puzzles they have solved"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);  // nothing is fetched from elsewhere

    const std::string empty = StandingsPage({});
    EXPECT_NE(empty.find("Nobody has played"), std::string::npos);
    EXPECT_EQ(empty.find("<table>"), std::string::npos);
}

}  // namespace
}  // namespace ladder
