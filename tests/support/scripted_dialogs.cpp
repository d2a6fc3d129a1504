#include "tests/support/scripted_dialogs.h"

namespace testing_support {

namespace {

template <typename Answer>
Answer Next(std::deque<Answer>& answers, const Answer& otherwise) {
    if (answers.empty()) {
        return otherwise;
    }
    // Copied straight into the result before the queue lets go of it: a local copy here
    // makes GCC 12 warn, wrongly, that an optional text may be used uninitialised.
    struct PopFront {
        std::deque<Answer>& queue;
        ~PopFront() { queue.pop_front(); }
    } popFront{answers};
    return answers.front();
}

}  // namespace

void ScriptedDialogs::ShowMessage(toolkit::BoxKind kind, const QString& text) {
    ShownBox::Kind shownKind = ShownBox::Kind::Information;
    switch (kind) {
        case toolkit::BoxKind::Information:
            shownKind = ShownBox::Kind::Information;
            break;
        case toolkit::BoxKind::Warning:
            shownKind = ShownBox::Kind::Warning;
            break;
        case toolkit::BoxKind::Error:
            shownKind = ShownBox::Kind::Error;
            break;
        case toolkit::BoxKind::Critical:
            shownKind = ShownBox::Kind::Critical;
            break;
    }
    Record({shownKind, text});
}

bool ScriptedDialogs::Confirm(const QString& text, toolkit::Answer) {
    Record({ShownBox::Kind::Confirmation, text});
    return Next(confirmAnswers, false);
}

std::optional<QString> ScriptedDialogs::AskSaveFileName(const toolkit::SaveDialogRequest& request) {
    saveRequests.push_back(request);
    Record({ShownBox::Kind::SaveDialog, request.title});
    return Next<std::optional<QString>>(saveAnswers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::AskOpenFileName(const toolkit::OpenDialogRequest& request) {
    openRequests.push_back(request);
    Record({ShownBox::Kind::OpenDialog, QString()});
    return Next<std::optional<QString>>(openAnswers, std::nullopt);
}

bool ScriptedDialogs::AskPrint(QPrinter& printer) {
    Record({ShownBox::Kind::PrintDialog, QString()});
    const bool confirmed = Next(printAnswers, false);
    if (confirmed && printChoices) {
        printChoices(printer);
    }
    return confirmed;
}

void ScriptedDialogs::Record(const ShownBox& box) {
    shown.push_back(box);
    if (onShow) {
        onShow(shown.back());
    }
}

QStringList ScriptedDialogs::Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown) {
        texts << box.text;
    }
    return texts;
}

}  // namespace testing_support
