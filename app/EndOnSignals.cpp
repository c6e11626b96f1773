// The self-pipe behind EndOnSignals.
#include "app/EndOnSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace app {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t g_writeEnd = -1;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a byte that will end the program: losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

// A signal the program was started with ignored (nohup, a background job's SIGINT) stays ignored.
void handleWith(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

EndOnSignals::EndOnSignals(std::function<void()> end)
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // without a pipe the signals keep their default: the program ends at once
    g_writeEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, end = std::move(end)] {
        char bytes[16];
        while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        end();
    });
    handleWith(onSignal);
}

EndOnSignals::~EndOnSignals()
{
    if (!notifier_)
        return;
    handleWith(SIG_DFL);
    notifier_.reset();
    g_writeEnd = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

}  // namespace app
