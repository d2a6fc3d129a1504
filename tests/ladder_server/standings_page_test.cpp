#include "ladder_server/routes/standings_page.h"

#include <gtest/gtest.h>

namespace ladder {
namespace {

TEST(StandingsPage, ShowsEveryPlayerInOrderWithSharedRanksAndNamesAsText) {
    const StandingsPage standings{{
                                      {"alice", 3, 65, 1},
                                      {"bob", 3, 65, 1},
                                      {"<script>alert(1)</script>", 3, 3725, 3},
                                      {"d'Artagnan & \"Co\"", 1, 360000, 4},
                                      {"erin", 0, std::nullopt, 5},
                                  },
                                  1234567,
                                  false,
                                  false};
    const std::string page = RenderStandingsPage(standings, {}, {});
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
    EXPECT_NE(page.find("1,234,567 players in the standings"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);  // nothing is fetched from elsewhere
    EXPECT_EQ(page.find("<nav"), std::string::npos);  // no page before or after this one
    EXPECT_EQ(page.find("class=\"found\""), std::string::npos);
    EXPECT_NE(page.find("<form class=\"find\" method=\"get\" action=\"/standings\">"),
              std::string::npos);

    const std::string empty = RenderStandingsPage({}, {}, {});
    EXPECT_NE(empty.find("Nobody has played"), std::string::npos);
    EXPECT_EQ(empty.find("<table>"), std::string::npos);
}

TEST(StandingsPage, LinksLeadToTheNeighbouringPagesAndKeepTheRowsPerPage) {
    const StandingsPage standings{{{"a&b", 2, 9, 7}, {"zed", 2, 9, 7}}, 1, true, true};
    PageAddress address{"/", 20, "zed"};
    const std::string page =
        RenderStandingsPage(standings, {std::string("2.9.a&b"), std::string("2.9.zed")}, address);
    EXPECT_NE(page.find("<a rel=\"prev\" href=\"/?before=2.9.a%26b&amp;limit=20\">Previous</a>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<a rel=\"next\" href=\"/?after=2.9.zed&amp;limit=20\">Next</a>"),
              std::string::npos);
    EXPECT_NE(page.find("1 player in the standings"), std::string::npos);
    // The player looked for: marked, and kept in the form with the rows per page.
    EXPECT_NE(page.find("<tr class=\"found\"><td class=\"number\">7</td><td class=\"player\">zed"),
              std::string::npos);
    EXPECT_NE(page.find("name=\"player\""), std::string::npos);
    EXPECT_NE(page.find("value=\"zed\""), std::string::npos);
    EXPECT_NE(page.find("<input type=\"hidden\" name=\"limit\" value=\"20\">"), std::string::npos);

    const std::string onlyNext =
        RenderStandingsPage(standings, {std::nullopt, std::string("2.9.zed")}, {});
    EXPECT_EQ(onlyNext.find("Previous"), std::string::npos);
    EXPECT_NE(onlyNext.find("href=\"/standings?after=2.9.zed\""), std::string::npos);
    EXPECT_EQ(onlyNext.find("name=\"limit\""), std::string::npos);

    const std::string message =
        RenderStandingsMessage("Nobody called <b> is here.", {"/standings", 50, "<b>"});
    EXPECT_NE(message.find("Nobody called &lt;b&gt; is here."), std::string::npos);
    EXPECT_NE(message.find("value=\"&lt;b&gt;\""), std::string::npos);
    EXPECT_NE(message.find("<a href=\"/standings\">First page</a>"), std::string::npos);
    EXPECT_EQ(message.find("<table>"), std::string::npos);
}

}  // namespace
}  // namespace ladder
