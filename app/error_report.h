#pragma once

#include <QString>
#include <functional>

namespace app {

// Runs a handler. An exception it raises ends the handler and its text goes to report; the
// program goes on. Returns false when the handler failed.
bool RunReportingFailure(const std::function<void()>& handler,
                         const std::function<void(const QString&)>& report);

}  // namespace app
