#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
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

    // The texts of the boxes shown, in order.
    QStringList Texts() const;

    std::vector<ShownBox> shown;
    std::deque<bool> confirmAnswers;
    // Called as each box is shown, while the program waits for it.
    std::function<void(const ShownBox&)> onShow;
};

}  // namespace testing_support
