// Reading lines of any length, and rating a stream on several threads in the input's order.

#include "rate/rate_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace rate {
namespace {

TEST(RateStreamTest, ReadsTheStartOfEachLine) {
    const std::string longLine(1000, '7');
    std::istringstream in("first\n\n" + longLine + "\r\nlast without a line end");
    std::vector<std::string> lines;
    std::string line;
    while (ReadLineStart(in, line)) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "", longLine.substr(0, 82),
                                               "last without a line end"}));
    EXPECT_TRUE(line.empty());
}

// More lines than the window holds, so the reader waits for room; lines that are no puzzle
// keep this quick and need no rater.
TEST(RateStreamTest, PrintsEveryLineInTheInputsOrderOnAnyNumberOfThreads) {
    for (int threads : {1, 2, 7}) {
        SCOPED_TRACE(threads);
        const int count = threads * kLinesPerThread * 3 + 5;
        int given = 0;
        std::ostringstream out;
        RateLines(
            [&](std::string& line) {
                if (given == count) {
                    return false;
                }
                line = "line " + std::to_string(given++);
                return true;
            },
            out, threads);
        std::string expected;
        for (int i = 0; i < count; ++i) {
            expected += "line " + std::to_string(i) + " - no puzzle\n";
        }
        EXPECT_EQ(out.str(), expected);
    }
}

TEST(RateStreamTest, EmptyInputPrintsNothing) {
    std::ostringstream out;
    RateLines([](std::string&) { return false; }, out, 4);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace rate
