#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "toolkit/dialogs.h"

namespace testing_support {

// One box the program showed.
struct ShownBox {
    enum class Kind {
        Information,
        Warning,
        Error,
        Critical,
        Confirmation,
        SaveDialog,  // text: the dialog's title
        OpenDialog,
        PrintDialog,
    };
    Kind kind;
    QString text;
    bool operator==(const ShownBox&) const = default;
};

// Dialogs that answer from a script and record every box and dialog shown, in order. A
// confirmation without a scripted answer is answered No; a file or print dialog without one
// is cancelled.
class ScriptedDialogs : public toolkit::Dialogs {
public:
    void ShowMessage(toolkit::BoxKind kind, const QString& text) override;
    bool Confirm(const QString& text, toolkit::Answer preferred) override;
    std::optional<QString> AskSaveFileName(const toolkit::SaveDialogRequest& request) override;
    std::optional<QString> AskOpenFileName(const toolkit::OpenDialogRequest& request) override;
    bool AskPrint(QPrinter& printer) override;

    void AnswerNextConfirmations(std::initializer_list<bool> answers) {
        confirmAnswers.insert(confirmAnswers.end(), answers);
    }

    // The texts of the boxes shown, in order.
    QStringList Texts() const;

    std::vector<ShownBox> shown;
    std::deque<bool> confirmAnswers;
    // Paths chosen in the next save and open dialogs; nothing cancels.
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> openAnswers;
    // Whether the next print dialogs are confirmed; printChoices then sets the printer up as
    // the player would (copies, ...).
    std::deque<bool> printAnswers;
    std::function<void(QPrinter&)> printChoices;
    std::vector<toolkit::SaveDialogRequest> saveRequests;
    std::vector<toolkit::OpenDialogRequest> openRequests;

    // Called as each box is shown, while the program waits for it.
    std::function<void(const ShownBox&)> onShow;

private:
    void Record(const ShownBox& box);
};

}  // namespace testing_support
