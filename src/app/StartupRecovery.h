#pragma once

struct CommandLine;

// Every start of the program first undoes the installations that a kill or a
// power cut ended (see install/Recovery.h), and says so once, in the language
// of the interrupted run unless --lang names one.

// quillon --silent --recover: only that. Returns the exit status: 0 when
// there was nothing to undo or everything was undone, 2 when something could
// not be undone.
int RecoverOnly(const CommandLine &commandLine);

// Before an unattended install: a line on standard output when something was
// undone, and one for each thing that could not be.
void RecoverBeforeSilentInstall(const CommandLine &commandLine);

// Before the first window: one message box when something was undone.
void RecoverBeforeWindows(const CommandLine &commandLine);
