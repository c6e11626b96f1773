// Ending the window on a termination signal (SIGTERM, SIGHUP, SIGINT: a logout, `kill`, Ctrl+C in
// the terminal) as the user's closing does, so that the windows' own closing steps run and the
// working files are deleted. The handler only writes a byte to a pipe; the event loop reads it and
// runs the ending, where anything may be done.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace app {

class EndOnSignals {
public:
    // Installs the handlers; `end` runs in the event loop once per signal received.
    explicit EndOnSignals(std::function<void()> end);
    // Restores the default handling of the signals.
    ~EndOnSignals();
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

private:
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
