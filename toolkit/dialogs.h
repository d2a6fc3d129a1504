#pragma once

#include <QString>
#include <optional>

class QPrinter;

namespace toolkit {

// The kinds of modal message box. Information, warning and error boxes have one OK button;
// the critical box is the application's default error report.
enum class BoxKind { Information, Warning, Error, Critical };

// A save dialog: its title, its one file type filter ("Text (*.txt)") and the folder it
// opens in. The dialog does not ask before replacing a file: its caller does, after adding
// the default extension.
struct SaveDialogRequest {
    QString title;
    QString filter;
    QString directory;
};

// An open dialog with no title or filter of its own; the chosen file must exist.
struct OpenDialogRequest {
    QString directory;
};

// The answer a confirmation gives when the player presses Return (its default button).
enum class Answer { Yes, No };

// Every message box and file or print dialog of the program goes through this one
// interface, so tests can script the answers and record what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal box with one OK button; returns when the player has closed it.
    virtual void ShowMessage(BoxKind kind, const QString& text) = 0;
    // A modal confirmation with Yes and No; true only for Yes. A question before the player's
    // digits are thrown away prefers No, so that Return keeps them.
    virtual bool Confirm(const QString& text, Answer preferred = Answer::Yes) = 0;
    // The full path the player chose, or nothing when the dialog was cancelled.
    virtual std::optional<QString> AskSaveFileName(const SaveDialogRequest& request) = 0;
    virtual std::optional<QString> AskOpenFileName(const OpenDialogRequest& request) = 0;
    // The print dialog on printer, offering the page range 1 to 1 and neither printing to a
    // file nor a selection; the player's choices (printer, copies) go into printer. True
    // when the player confirmed.
    virtual bool AskPrint(QPrinter& printer) = 0;
};

}  // namespace toolkit
