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
tbody tr.found td { background: #ffe08a; font-weight: bold; }
.count { margin: 0 0 0.5rem; font-size: 0.95rem; }
.find { display: flex; flex-wrap: wrap; gap: 0.5rem; align-items: center; margin: 0 0 1rem; }
.find input { flex: 1 1 8rem; min-width: 0; max-width: 16rem; font: inherit; padding: 0.3rem 0.4rem;
              background: #f2b1b1; color: #000000; border: 2px solid #000000; }
.find button, .pages a { font: inherit; padding: 0.3rem 0.9rem; background: #c20000; color: #fff4e0;
                         border: 2px solid #f17777; text-decoration: none; cursor: pointer; }
.pages { display: flex; gap: 0.5rem; margin: 1rem 0 0; }
.pages a[rel="next"] { margin-left: auto; }
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

// "1,234,567": a count of players as a reader takes it in at a glance.
std::string GroupedDigits(std::int64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

// The address of the page read by name=value at the page's rows per page.
std::string LinkTo(const PageAddress& address, std::string_view name, std::string_view value) {
    std::string query;
    if (!name.empty()) {
        query.append(name).append("=").append(EncodeQueryValue(value));
    }
    if (address.limit != kDefaultStandingsRows) {
        query.append(query.empty() ? "" : "&")
            .append("limit=")
            .append(std::to_string(address.limit));
    }
    return EscapeHtml(query.empty() ? address.path : address.path + "?" + query);
}

void AppendFindForm(std::string& page, const PageAddress& address) {
    // The pattern is the account names' rule; '-' escaped, as a v-mode pattern asks.
    page.append("<form class=\"find\" method=\"get\" action=\"")
        .append(EscapeHtml(address.path))
        .append(
            "\">\n<label for=\"player\">Find a player</label>\n"
            "<input id=\"player\" name=\"player\" type=\"search\" required maxlength=\"32\" "
            "pattern=\"[A-Za-z0-9._\\-]+\" autocomplete=\"off\" spellcheck=\"false\" value=\"")
        .append(EscapeHtml(address.player))
        .append("\">\n");
    if (address.limit != kDefaultStandingsRows) {
        page.append("<input type=\"hidden\" name=\"limit\" value=\"")
            .append(std::to_string(address.limit))
            .append("\">\n");
    }
    page += "<button type=\"submit\">Find</button>\n</form>\n";
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

std::string RenderStandingsPage(const StandingsPage& standings, const PageCursors& cursors,
                                const PageAddress& address) {
    std::string page(kHead);
    AppendFindForm(page, address);
    if (standings.players == 0) {
        page += "<p class=\"empty\">Nobody has played a ladder game yet.</p>\n";
        return page.append(kFoot);
    }
    page.append("<p class=\"count\">")
        .append(GroupedDigits(standings.players))
        .append(standings.players == 1 ? " player" : " players")
        .append(" in the standings.</p>\n");
    if (standings.rows.empty()) {
        page.append(
                "<p class=\"empty\">No players on this page.</p>\n<nav class=\"pages\"><a href=\"")
            .append(LinkTo(address, "", ""))
            .append("\">First page</a></nav>\n");
    } else {
        page +=
            "<table>\n<thead><tr><th scope=\"col\" class=\"number\">Rank</th>"
            "<th scope=\"col\">Player</th><th scope=\"col\" class=\"number\">Solved</th>"
            "<th scope=\"col\" class=\"number\">Best time</th></tr></thead>\n<tbody>\n";
        for (const Standing& standing : standings.rows) {
            page.append(standing.user == address.player && !address.player.empty()
                            ? "<tr class=\"found\">"
                            : "<tr>")
                .append("<td class=\"number\">")
                .append(std::to_string(standing.place))
                .append("</td><td class=\"player\">")
                .append(EscapeHtml(standing.user))
                .append("</td><td class=\"number\">")
                .append(std::to_string(standing.solved))
                .append("</td><td class=\"number\">")
                .append(standing.bestSeconds ? TimeText(*standing.bestSeconds) : "&ndash;")
                .append("</td></tr>\n");
        }
        page += "</tbody>\n</table>\n";
    }
    if (cursors.previous || cursors.next) {
        page += "<nav class=\"pages\">";
        if (cursors.previous) {
            page.append("<a rel=\"prev\" href=\"")
                .append(LinkTo(address, "before", *cursors.previous))
                .append("\">Previous</a>");
        }
        if (cursors.next) {
            page.append("<a rel=\"next\" href=\"")
                .append(LinkTo(address, "after", *cursors.next))
                .append("\">Next</a>");
        }
        page += "</nav>\n";
    }
    return page.append(kFoot);
}

std::string RenderStandingsMessage(std::string_view message, const PageAddress& address) {
    std::string page(kHead);
    AppendFindForm(page, address);
    page.append("<p class=\"empty\">")
        .append(EscapeHtml(message))
        .append("</p>\n<nav class=\"pages\"><a href=\"")
        .append(LinkTo(address, "", ""))
        .append("\">First page</a></nav>\n");
    return page.append(kFoot);
}

}  // namespace ladder
