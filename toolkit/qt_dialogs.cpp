#include "toolkit/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace toolkit {

namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Information:
            return QMessageBox::Information;
        case BoxKind::Warning:
            return QMessageBox::Warning;
        case BoxKind::Error:
        case BoxKind::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::ShowMessage(BoxKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), QApplication::applicationName(), text, QMessageBox::Ok, owner_);
    box.exec();
}

bool QtDialogs::Confirm(const QString& text, Answer preferred) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(preferred == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// Runs a file dialog; its chosen file's folder becomes the current directory, so the next
// file dialog opens where the player was.
std::optional<QString> Choose(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    QDir::setCurrent(QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

std::optional<QString> QtDialogs::AskSaveFileName(const SaveDialogRequest& request) {
    QFileDialog dialog(owner_, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    return Choose(dialog);
}

std::optional<QString> QtDialogs::AskOpenFileName(const OpenDialogRequest& request) {
    QFileDialog dialog(owner_, QString(), request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Choose(dialog);
}

bool QtDialogs::AskPrint(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, 1);
    dialog.setFromTo(1, 1);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace toolkit
