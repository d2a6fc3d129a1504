#include "toolkit/remove_caption.h"

#include <QWidget>

namespace toolkit {

void RemoveCaption(QWidget& window) {
    const QSize client = window.size();
    const bool wasVisible = window.isVisible();
    window.setWindowFlag(Qt::FramelessWindowHint, true);
    window.resize(client);
    if (wasVisible) {
        // Changing the window's flags hides it; bring it back as it was.
        window.show();
    }
}

}  // namespace toolkit
