#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace board {

// The engine's explanation of the next step (spiega_passo), as the board shows it. Cells are
// 0 to 80, row * 9 + column.
struct StepExplanation {
    enum class Kind { None, Step, Mistake, Solved, Stuck, NoPuzzle };
    struct Candidate {
        int cell = 0;
        int digit = 0;  // 1 to 9

        bool operator==(const Candidate&) const = default;
    };

    Kind kind = Kind::None;
    // One sentence for the player; empty only for Kind::None.
    QString sentence;
    QString technique;
    QString difficulty;
    QList<int> pattern;
    QList<int> changed;
    QList<Candidate> removes;
    QList<Candidate> places;
    // Digits on the board that are not the solution's (Kind::Mistake).
    QList<int> mistakes;

    bool operator==(const StepExplanation&) const = default;
};

// Reads the engine's "key=value" lines. Unknown keys, cells off the board and malformed pairs
// are skipped; a text without a known kind and a sentence is no explanation (Kind::None).
StepExplanation ParseStepExplanation(const QString& text);

// The pairs as the engine takes them back: "cell:digit", blank-separated.
QString CandidatesText(const QList<StepExplanation::Candidate>& candidates);

// The engine's answer to a rating asked for while it is still working on it.
inline constexpr QLatin1String kRatingUnderWay{"IN_CORSO"};
// Shown while the engine works on a rating.
inline constexpr QLatin1String kRatingPending{"Rating..."};

// The rating panel's text for the engine's rating ("4.2|XY-Wing" gives "Rating 4.2 (XY-Wing)");
// empty for no rating.
QString RatingCaption(const QString& rating);

}  // namespace board
