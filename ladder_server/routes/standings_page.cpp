#include "ladder_server/routes/standings_page.h"

#include <algorithm>

namespace ladder {

namespace {

// The default skin's colours: the window's maroon, the tool bar's red, the board's pinks.
constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Quillmark ladder: standings</title>
<style>
body { margin: 0; background: #990000; color: #fff4e0;
       font-family: "DejaVu Sans", Tahoma, Verdana, sans-serif; line-height: 1.4; }
header { background: #c20000; padding: 0.8rem 1rem; border-bottom: 2px solid #f17777; }
h1 { margin: 0; font-size: 1.5rem; letter-spacing: 0.02em; }
main { max-width: 42rem; margin: 0 auto; padding: 1rem; }
.rule { margin: 0 0 1rem; font-size: 0.95rem; }
table { width: 100%; border-collapse: collapse; background: #f2b1b1; color: #000000;
        border: 2px solid #000000; }
th { background: #c30101; color: #fff4e0; text-align: left; padding: 0.5rem;
     font-weight: bold; }
td { padding: 0.5rem; border-top: 1px solid #f15f5f; }
tbody tr:nth-child(even) td { background: #f2bfbf; }
.number { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
.player { overflow-wrap: anywhere; }
.empty { background: #f2b1b1; color: #000000; padding: 1rem; border: 2px solid #000000; }
@media (max-width: 30rem) { main { padding: 0.5rem; } td, th { padding: 0.4rem 0.3rem; } }
</style>
</head>
<body>
<header><h1>Quillmark ladder</h1></header>
<main>
<p class="rule">Players are ranked by the puzzles they have solved, most first; between players who
solved as many, the faster best time ranks higher. Players equal in both share a rank.</p>
)";

constexpr std::string_view kFoot = R"(</main>
</body>
</html>
)";

std::string TwoDigits(std::int64_t number) {
    std::string text = std::to_string(number);
    if (number < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string TimeText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(0, seconds);
    return TwoDigits(seconds / 3600) + " : " + TwoDigits(seconds / 60 % 60) + " : " +
           TwoDigits(seconds % 60);
}

std::string StandingsPage(const std::vector<Standing>& standings) {
    std::string page(kHead);
    if (standings.empty()) {
        page += "<p class=\"empty\">Nobody has played a ladder game yet.</p>\n";
        return page.append(kFoot);
    }
    page +=
        "<table>\n<thead><tr><th scope=\"col\" class=\"number\">Rank</th>"
        "<th scope=\"col\">Player</th><th scope=\"col\" class=\"number\">Solved</th>"
        "<th scope=\"col\" class=\"number\">Best time</th></tr></thead>\n<tbody>\n";
    std::size_t rank = 0;
    for (std::size_t i = 0; i < standings.size(); ++i) {
        const Standing& standing = standings[i];
        if (i == 0 || standing.solved != standings[i - 1].solved ||
            standing.bestSeconds != standings[i - 1].bestSeconds) {
            rank = i + 1;
        }
        page.append("<tr><td class=\"number\">")
            .append(std::to_string(rank))
            .append("</td><td class=\"player\">")
            .append(EscapeHtml(standing.user))
            .append("</td><td class=\"number\">")
            .append(std::to_string(standing.solved))
            .append("</td><td class=\"number\">")
            .append(standing.bestSeconds ? TimeText(*standing.bestSeconds) : "&ndash;")
            .append("</td></tr>\n");
    }
    page += "</tbody>\n</table>\n";
    return page.append(kFoot);
}

}  // namespace ladder
