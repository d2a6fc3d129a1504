#include "app/application.h"

#include <QMessageBox>
#include <exception>

namespace app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quillmark"));
    setApplicationDisplayName(QStringLiteral("Quillmark"));
    setDesktopFileName(QStringLiteral(QUILLMARK_APP_ID));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // A report's own box may raise the same error again while it paints; one is enough.
        if (!reporting_) {
            reporting_ = true;
            const QString text = QString::fromUtf8(error.what());
            if (report_) {
                report_(text);
            } else {
                QMessageBox::critical(nullptr, applicationName(), text);
            }
            reporting_ = false;
        }
    }
    return false;
}

}  // namespace app
