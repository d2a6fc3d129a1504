#include "app/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

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

bool QtDialogs::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace app
