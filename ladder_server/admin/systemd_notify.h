#pragma once

// The service manager's notifications (sd_notify(3)): readiness, liveness and stopping, for a
// unit of Type=notify with WatchdogSec=.

#include <chrono>
#include <string>

namespace ladder {

class SystemdNotifier {
public:
    // From the environment systemd gives a service: notifySocket is $NOTIFY_SOCKET (a path,
    // or "@name" for an abstract socket), watchdogUsec $WATCHDOG_USEC and watchdogPid
    // $WATCHDOG_PID, which when set must be this process. Any may be null; without a socket
    // every notification is dropped.
    SystemdNotifier(const char* notifySocket, const char* watchdogUsec, const char* watchdogPid);

    // Whether there is a service manager to tell anything.
    bool Active() const { return !socket_.empty(); }
    // How often WATCHDOG=1 is due: half the time the manager allows, so that one late ping
    // is not yet fatal; zero when no watchdog is asked for.
    std::chrono::microseconds WatchdogInterval() const { return interval_; }

    // Each sends one datagram; false when it could not be sent (or there is no socket). A
    // line of status text must hold no line end.
    bool Ready(const std::string& status) const;
    bool Watchdog() const;
    bool Stopping() const;
    bool Send(const std::string& state) const;

private:
    std::string socket_;
    std::chrono::microseconds interval_{0};
};

}  // namespace ladder
