#pragma once

#include <QString>

namespace app {

// The kinds of modal message box. Information, warning and error boxes have one OK button;
// the critical box is the application's default error report.
enum class BoxKind { Information, Warning, Error, Critical };

// Every message box and file or print dialog of the program goes through this one
// interface, so tests can script the answers and record what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal box with one OK button; returns when the player has closed it.
    virtual void ShowMessage(BoxKind kind, const QString& text) = 0;
    // A modal confirmation with Yes and No; true only for Yes.
    virtual bool Confirm(const QString& text) = 0;
};

}  // namespace app
