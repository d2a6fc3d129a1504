#pragma once

class QWidget;

namespace toolkit {

// Takes a window's caption bar and frame away while keeping its client area at its size, so
// its outer size equals its client size. The header offers moving, minimising and closing.
void RemoveCaption(QWidget& window);

}  // namespace toolkit
