#pragma once

#include <QUrl>

#include <functional>

// Asks the desktop shell to "open" an address (a web page, a "mailto:"
// address) the way the user's desktop opens it. Nothing is reported when the
// shell fails: the window that asked has nothing useful to add.
void ShellOpen(const QUrl &url);

// Sends every ShellOpen() to the handler instead of the desktop, so that tests
// see what would be opened without starting a browser or a mail program. An
// empty handler gives the desktop back.
void SetShellOpenHandler(std::function<void(const QUrl &)> handler);
