#pragma once

#include <QObject>
#include <QString>

namespace toolkit {

// A feature object of the main window that works with the puzzle engine. Besides its own
// signals it may ask the window to cover the board with the wait panel while the engine works,
// and to show the player an engine error. Connections are direct: when a signal returns, the
// window has done what it asked.
class Feature : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // Shows the wait panel with caption, painted before the engine is called.
    void waitShown(const QString& caption);
    void waitHidden();
    // An engine error code to show; fileName only for a code that can name a file.
    void engineFailed(const QString& code, const QString& fileName);
};

}  // namespace toolkit
