#include "ShellOpen.h"

#include <QDesktopServices>

namespace {
std::function<void(const QUrl &)> &handler()
{
    static std::function<void(const QUrl &)> instead;
    return instead;
}
} // namespace

void ShellOpen(const QUrl &url)
{
    if (handler())
        handler()(url);
    else
        QDesktopServices::openUrl(url);
}

void SetShellOpenHandler(std::function<void(const QUrl &)> replacement)
{
    handler() = std::move(replacement);
}
