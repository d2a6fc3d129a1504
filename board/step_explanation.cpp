#include "board/step_explanation.h"

#include <utility>

namespace board {

namespace {

QList<int> Cells(const QString& value) {
    QList<int> cells;
    for (const QString& word : value.split(u' ', Qt::SkipEmptyParts)) {
        bool number = false;
        const int cell = word.toInt(&number);
        if (number && cell >= 0 && cell < 81) {
            cells << cell;
        }
    }
    return cells;
}

QList<StepExplanation::Candidate> Candidates(const QString& value) {
    QList<StepExplanation::Candidate> candidates;
    for (const QString& word : value.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList pair = word.split(u':');
        bool cellNumber = false;
        bool digitNumber = false;
        const int cell = pair.value(0).toInt(&cellNumber);
        const int digit = pair.value(1).toInt(&digitNumber);
        if (pair.size() == 2 && cellNumber && digitNumber && cell >= 0 && cell < 81 && digit >= 1 &&
            digit <= 9) {
            candidates << StepExplanation::Candidate{cell, digit};
        }
    }
    return candidates;
}

StepExplanation::Kind KindNamed(const QString& name) {
    using Kind = StepExplanation::Kind;
    const std::pair<const char*, Kind> kinds[] = {{"step", Kind::Step},
                                                  {"mistake", Kind::Mistake},
                                                  {"solved", Kind::Solved},
                                                  {"stuck", Kind::Stuck},
                                                  {"nopuzzle", Kind::NoPuzzle}};
    for (const auto& [word, kind] : kinds) {
        if (name == QLatin1String(word)) {
            return kind;
        }
    }
    return Kind::None;
}

}  // namespace

StepExplanation ParseStepExplanation(const QString& text) {
    StepExplanation explanation;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            continue;
        }
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QLatin1String("kind")) {
            explanation.kind = KindNamed(value);
        } else if (key == QLatin1String("text")) {
            explanation.sentence = value;
        } else if (key == QLatin1String("technique")) {
            explanation.technique = value;
        } else if (key == QLatin1String("difficulty")) {
            explanation.difficulty = value;
        } else if (key == QLatin1String("pattern")) {
            explanation.pattern = Cells(value);
        } else if (key == QLatin1String("changed")) {
            explanation.changed = Cells(value);
        } else if (key == QLatin1String("removes")) {
            explanation.removes = Candidates(value);
        } else if (key == QLatin1String("places")) {
            explanation.places = Candidates(value);
        } else if (key == QLatin1String("mistakes")) {
            explanation.mistakes = Cells(value);
        }
    }
    if (explanation.kind == StepExplanation::Kind::None || explanation.sentence.isEmpty()) {
        return {};
    }
    return explanation;
}

QString CandidatesText(const QList<StepExplanation::Candidate>& candidates) {
    QStringList words;
    for (const StepExplanation::Candidate& candidate : candidates) {
        words << QStringLiteral("%1:%2").arg(candidate.cell).arg(candidate.digit);
    }
    return words.join(u' ');
}

QString RatingCaption(const QString& rating) {
    const qsizetype bar = rating.indexOf(u'|');
    if (bar <= 0) {
        return {};
    }
    const QString difficulty = rating.left(bar);
    const QString technique = rating.mid(bar + 1);
    if (difficulty == QLatin1String("?")) {
        return QStringLiteral("Rating: beyond the scale's techniques");
    }
    return technique.isEmpty() ? QStringLiteral("Rating %1").arg(difficulty)
                               : QStringLiteral("Rating %1 (%2)").arg(difficulty, technique);
}

}  // namespace board
