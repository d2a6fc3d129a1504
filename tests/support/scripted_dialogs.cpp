#include "tests/support/scripted_dialogs.h"

namespace testing_support {

void ScriptedDialogs::ShowMessage(app::BoxKind kind, const QString& text) {
    ShownBox::Kind shownKind = ShownBox::Kind::Information;
    switch (kind) {
        case app::BoxKind::Information:
            shownKind = ShownBox::Kind::Information;
            break;
        case app::BoxKind::Warning:
            shownKind = ShownBox::Kind::Warning;
            break;
        case app::BoxKind::Error:
            shownKind = ShownBox::Kind::Error;
            break;
        case app::BoxKind::Critical:
            shownKind = ShownBox::Kind::Critical;
            break;
    }
    shown.push_back({shownKind, text});
    if (onShow) {
        onShow(shown.back());
    }
}

bool ScriptedDialogs::Confirm(const QString& text) {
    shown.push_back({ShownBox::Kind::Confirmation, text});
    if (onShow) {
        onShow(shown.back());
    }
    if (confirmAnswers.empty()) {
        return false;
    }
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown) {
        texts << box.text;
    }
    return texts;
}

}  // namespace testing_support
