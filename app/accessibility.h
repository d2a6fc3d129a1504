#pragma once

namespace app {

// What assistive technology gets beyond Qt's own interfaces for the window's widgets. To be
// called before the application object exists, since an assistive tool may ask for the
// application's interface at once, and again after (the main window does), so that it comes
// before Qt's own widget interfaces; each time after the first is free:
// - the tool bar's buttons run their click when a tool presses or toggles them, as a mouse
//   click does (Qt's own toggle only flips a check button's look);
// - the open popup menu stands in the accessible tree, as a child of the application;
// - a status panel's name is its text, whatever the label's own name.
void InstallAccessibility();

}  // namespace app
