#pragma once

#include <QApplication>

// The application object of the windowed installer. It carries the name
// "Quillon" (but no display name, so that window titles stay as they are
// set) and is the standard exception display: an exception that escapes
// an event handler is shown in a message box and the event loop goes on.
class QuillonApplication : public QApplication
{
    Q_OBJECT
public:
    QuillonApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The name and version, also for runs without windows.
    static void setIdentity();

    // Shows the text of an exception that reached the event loop; okWord,
    // when given, is the word on its button in the window's language.
    static void showException(const QString &what, const QString &okWord = {});
};
