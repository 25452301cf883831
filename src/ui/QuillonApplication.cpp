#include "QuillonApplication.h"

#include "ui/Accessibility.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"

#include <exception>

QuillonApplication::QuillonApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setIdentity();
    // No display name: Qt would append it to every window title ("Warning -
    // Quillon"), and a message box's caption is its text alone.
    InitPictures();
    // Before any window, so that assistive technology meets only our interfaces.
    Accessibility::Install();
}

void QuillonApplication::setIdentity()
{
    setApplicationName(QStringLiteral("Quillon"));
    setApplicationVersion(QStringLiteral(QUILLON_VERSION));
}

bool QuillonApplication::notify(QObject *receiver, QEvent *event)
{
    // Qt does not let exceptions travel through its event loop, so they are
    // caught here, where the loop hands each event to its handler.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showException(QString::fromUtf8(e.what()));
    } catch (...) {
        showException(QStringLiteral("Unknown exception"));
    }
    return false;
}

void QuillonApplication::showException(const QString &what, const QString &okWord)
{
    ShowMessageBox(activeWindow(), QMessageBox::Critical, applicationName(), what,
                   {okWord, {}, {}});
}
