#pragma once

#include <QPointer>
#include <QWidget>

#include "toolkit/dialogs.h"

namespace toolkit {

// The real boxes and dialogs, owned by the main window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner) : owner_(owner) {}

    void ShowMessage(BoxKind kind, const QString& text) override;
    bool Confirm(const QString& text, Answer preferred) override;
    std::optional<QString> AskSaveFileName(const SaveDialogRequest& request) override;
    std::optional<QString> AskOpenFileName(const OpenDialogRequest& request) override;
    bool AskPrint(QPrinter& printer) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace toolkit
