#pragma once

#include <QApplication>
#include <functional>

namespace app {

// The application object. An error that escapes an event handler is shown by the default
// error report instead of ending the program.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    // Where escaped errors go; until set, they go to a plain critical box.
    void SetErrorReport(std::function<void(const QString&)> report) { report_ = std::move(report); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const QString&)> report_;
    bool reporting_ = false;
};

}  // namespace app
