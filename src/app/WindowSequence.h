#pragma once

struct CommandLine;

// Runs the windowed installer: the language window (or, with --lang, the
// welcome window at once), the welcome window and the wizard, until the
// last of them closes. Returns the program's exit status.
int RunWindows(const CommandLine &commandLine);
