#include "ui/QuillonApplication.h"

#include "MessageBoxAnswers.h"
#include "ModalWatcher.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <stdexcept>

namespace {

// A button whose click handler throws what the test asks for, and counts the
// clicks that got through.
class ThrowingButton : public QPushButton
{
public:
    std::function<void()> toThrow;
    int handled = 0;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QPushButton::mouseReleaseEvent(event);
        ++handled;
        if (toThrow)
            toThrow();
    }
};

} // namespace

class tst_QuillonApplication : public QObject
{
    Q_OBJECT
private slots:
    void title();
    void noDisplayNameForTitles();
    void exceptionIsShownAndLoopGoesOn_data();
    void exceptionIsShownAndLoopGoesOn();
};

void tst_QuillonApplication::title()
{
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Quillon"));
}

// Qt appends a display name, once one is set, to every window title; the
// installer sets none, so a box's title is its caption alone. (The display
// name that Qt reports then follows the application name.)
void tst_QuillonApplication::noDisplayNameForTitles()
{
    QCoreApplication::setApplicationName("Renamed for the test");
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("Renamed for the test"));
    QuillonApplication::setIdentity();
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("Quillon"));
}

void tst_QuillonApplication::exceptionIsShownAndLoopGoesOn_data()
{
    QTest::addColumn<std::function<void()>>("toThrow");
    QTest::addColumn<QString>("shown");
    QTest::newRow("runtime_error")
            << std::function<void()>([] { throw std::runtime_error("Cannot load the picture"); })
            << "Cannot load the picture";
    QTest::newRow("bad_alloc") << std::function<void()>([] { throw std::bad_alloc(); })
                               << QString::fromUtf8(std::bad_alloc().what());
    QTest::newRow("not a std::exception")
            << std::function<void()>([] { throw 42; }) << "Unknown exception";
}

// GIVEN a click handler that throws, WHEN it is clicked, THEN a message box
// shows the exception's text, and after it the window goes on taking events.
void tst_QuillonApplication::exceptionIsShownAndLoopGoesOn()
{
    QFETCH(std::function<void()>, toThrow);
    QFETCH(QString, shown);
    ThrowingButton button;
    button.toThrow = toThrow;
    button.show();

    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.value(0).caption, QStringLiteral("Quillon"));
    QCOMPARE(seen.value(0).text, shown);

    button.toThrow = nullptr;
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(button.handled, 2);
}

// The exception display is the application object's, so the test runs under it.
int main(int argc, char *argv[])
{
    QuillonApplication app(argc, argv);
    tst_QuillonApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quillonapplication.moc"
