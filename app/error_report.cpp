#include "app/error_report.h"

#include <exception>

namespace app {

bool RunReportingFailure(const std::function<void()>& handler,
                         const std::function<void(const QString&)>& report) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        report(QStringLiteral("An unknown error occurred."));
    }
    return false;
}

}  // namespace app
