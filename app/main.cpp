// The program entry: the application object, the one main window, the message loop.
// No command line is read.

#include "app/accessibility.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/startup_probe.h"

int main(int argc, char** argv) {
    app::InstallAccessibility();
    app::Application application(argc, argv);
    TFsudoku_main window;
    application.SetErrorReport([&window](const QString& text) { window.ReportError(text); });
    app::InstallStartupProbe(window, [&window] { return window.IsReady(); });
    window.show();
    return application.exec();
}
