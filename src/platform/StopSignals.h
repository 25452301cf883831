#pragma once

// While a StopSignalGuard lives, the system's requests to stop the program
// (SIGTERM and SIGINT; on Windows Ctrl+C, Ctrl+Break and closing the console)
// only set a flag that the install run polls at its next safe point, so that
// it can undo what it did before it ends. A second request ends the program
// at once, as without the guard.
class StopSignalGuard
{
public:
    StopSignalGuard();
    ~StopSignalGuard();
    StopSignalGuard(const StopSignalGuard &) = delete;
    StopSignalGuard &operator=(const StopSignalGuard &) = delete;
};

// True once a stop was requested while a guard lived; cleared when a new
// guard is made.
bool StopRequested();

// Sends this process the request to stop that the system would send, for
// tests and the test fault points.
void RequestStopLikeTheSystem();
