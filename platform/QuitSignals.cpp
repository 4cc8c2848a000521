#include "platform/QuitSignals.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, on whichever thread the signal comes to; a lock-free atomic is safe
// there.
std::atomic<int> g_quitSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler's flag");

void NoteQuitSignal(int signal) {
    g_quitSignal.store(signal, std::memory_order_relaxed);
}
}  // namespace

void CatchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = NoteQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : kQuitSignals) {
        sigaction(signal, &action, nullptr);
    }
}

int QuitSignalCaught() {
    return g_quitSignal.load(std::memory_order_relaxed);
}

void EndBySignal(int signal) {
    std::fflush(nullptr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);  // not reached: the default action of the three ends the process
}
