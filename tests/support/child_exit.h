#pragma once

// Waiting for a child process the tests started, without blocking past a deadline.

#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

namespace testing_support {

// A waitpid status as an exit code; -1 when a signal ended the process.
inline int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The child's exit code once it has ended within timeout; nothing while it still runs.
inline std::optional<int> WaitFor(pid_t pid, std::chrono::steady_clock::duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            return ExitCode(status);
        }
        if (ended < 0 && errno != EINTR) {
            return -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace testing_support
