#include "StopSignals.h"

#include <QtGlobal>

#include <atomic>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <csignal>
#endif

namespace {

// Read and written from a signal handler, or on Windows from the thread the
// system runs the console handler in.
std::atomic<bool> stopRequested{false};
std::atomic<bool> guarded{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

#ifdef Q_OS_WIN
namespace {

BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (stopRequested.exchange(true))
        return FALSE; // a second request: the default handler ends the program
    // On closing the console Windows ends the process once this returns, so
    // the run gets a few seconds to undo its work; the next start undoes the rest.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        for (int i = 0; i < 45 && guarded; ++i)
            Sleep(100);
    }
    return TRUE;
}

} // namespace

StopSignalGuard::StopSignalGuard()
{
    stopRequested = false;
    guarded = true;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignalGuard::~StopSignalGuard()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    guarded = false;
}

void RequestStopLikeTheSystem()
{
    onConsoleEvent(CTRL_C_EVENT);
}
#else
namespace {

struct sigaction previousInt, previousTerm;

void onSignal(int signal)
{
    if (!stopRequested.exchange(true))
        return;
    // A second request: the program ends as it would have without the guard.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

StopSignalGuard::StopSignalGuard()
{
    stopRequested = false;
    guarded = true;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

StopSignalGuard::~StopSignalGuard()
{
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    guarded = false;
}

void RequestStopLikeTheSystem()
{
    ::raise(SIGTERM);
}
#endif

bool StopRequested()
{
    return stopRequested;
}
