#pragma once

struct CommandLine;
class TLanguageForm;

// Creates the language window, the application's main window, and shows it;
// with --lang it opens the welcome window in that language at once and the
// language window stays hidden. The language window deletes itself when it
// is closed, and the welcome window and the wizard go with it.
TLanguageForm *StartWindows(const CommandLine &commandLine);

// Runs the windowed installer: the windows of StartWindows() until the
// language window is gone. Returns the program's exit status.
int RunWindows(const CommandLine &commandLine);
