#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "app/dialogs.h"

namespace testing_support {

// One box the program showed.
struct ShownBox {
    enum class Kind { Information, Warning, Error, Critical, Confirmation };
    Kind kind;
    QString text;
    bool operator==(const ShownBox&) const = default;
};

// Dialogs that answer from a script and record every box shown, in order. A confirmation
// without a scripted answer is answered No.
class ScriptedDialogs : public app::Dialogs {
public:
    void ShowMessage(app::BoxKind kind, const QString& text) override;
    bool Confirm(const QString& text) override;

    void AnswerNextConfirmations(std::initializer_list<bool> answers) {
        confirmAnswers.insert(confirmAnswers.end(), answers);
    }

    std::vector<ShownBox> shown;
    std::deque<bool> confirmAnswers;
};

}  // namespace testing_support
