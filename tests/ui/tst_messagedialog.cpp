#include "ui/Pictures.h"
#include "ui/TMessageDialog.h"

#include "ModalWatcher.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

const QString Overwrite = QStringLiteral("&Yes|&All|&No|Cancel");

// The created buttons, left to right.
QList<QPushButton *> buttonsOf(QWidget *dialog)
{
    QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
    return buttons;
}

QStringList namesOf(const QList<QPushButton *> &buttons)
{
    QStringList names;
    for (QPushButton *button : buttons)
        names.append(button->objectName());
    return names;
}

QLabel *messageLabel(QWidget *dialog)
{
    return dialog->findChild<QLabel *>(QStringLiteral("lbMessage"));
}

} // namespace

class tst_MessageDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void overwriteQuestion();
    void clickReturnsNumber_data();
    void clickReturnsNumber();
    void closeReturnsZero_data();
    void closeReturnsZero();
    void defaultButtonFocused_data();
    void defaultButtonFocused();
    void laterActivationKeepsFocus();
    void captionPieces_data();
    void captionPieces();
    void noButtons();
    void longMessageWidens();
    void multiLineMessageIsTaller();
    void titleAndMessageNotGiven_data();
    void titleAndMessageNotGiven();
    void messageShownAsItIs();
    void buttonsHoldTheirCaptions_data();
    void buttonsHoldTheirCaptions();
};

void tst_MessageDialog::initTestCase()
{
    InitPictures();
}

void tst_MessageDialog::overwriteQuestion()
{
    QStringList names;
    QList<int> lefts;
    QString focused;
    bool looksRight = false;
    ModalWatcher watcher([&](QWidget *dialog) {
        const QList<QPushButton *> buttons = buttonsOf(dialog);
        names = namesOf(buttons);
        for (QPushButton *button : buttons)
            lefts.append(button->x());
        if (QWidget *focus = dialog->focusWidget())
            focused = focus->objectName();
        auto *icon = dialog->findChild<QLabel *>(QStringLiteral("imgIcon"));
        looksRight = dialog->windowTitle() == "Question" && dialog->isModal()
                     && dialog->minimumSize() == dialog->maximumSize() && icon
                     && icon->geometry() == QRect(8, 13, 36, 36)
                     && icon->pixmap().toImage()
                                == QImage(Pictures::Question)
                                           .convertToFormat(icon->pixmap().toImage().format())
                     && dialog->palette().color(QPalette::Window) == QColor(0xF5, 0xF4, 0xEB);
        buttons.first()->click();
    });
    const int result
            = ShowMessageDialog("The file exists. Overwrite?", "Question", Overwrite, "Yes");
    QVERIFY(watcher.answered());
    QCOMPARE(result, 1);
    QCOMPARE(names, QStringList({"Yes", "All", "No", "Cancel"}));
    QCOMPARE(lefts, QList<int>({32, 100, 168, 236}));
    QCOMPARE(focused, QString("Yes"));
    QVERIFY(looksRight);
}

void tst_MessageDialog::clickReturnsNumber_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << "Yes" << 1;
    QTest::newRow("All") << "All" << 2;
    QTest::newRow("No") << "No" << 3;
    QTest::newRow("Cancel") << "Cancel" << 4;
}

void tst_MessageDialog::clickReturnsNumber()
{
    QFETCH(QString, name);
    QFETCH(int, result);
    ModalWatcher watcher([&](QWidget *dialog) {
        if (auto *button = dialog->findChild<QPushButton *>(name))
            QTest::mouseClick(button, Qt::LeftButton);
    });
    QCOMPARE(ShowMessageDialog("Overwrite?", "Question", Overwrite, "Yes"), result);
    QVERIFY(watcher.answered());
}

void tst_MessageDialog::closeReturnsZero_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("title bar") << false;
    QTest::newRow("Escape") << true;
}

void tst_MessageDialog::closeReturnsZero()
{
    QFETCH(bool, escape);
    ModalWatcher watcher([&](QWidget *dialog) {
        if (escape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
    });
    QCOMPARE(ShowMessageDialog("Overwrite?", "Question", Overwrite, "Yes"), 0);
    QVERIFY(watcher.answered());
}

void tst_MessageDialog::defaultButtonFocused_data()
{
    QTest::addColumn<QString>("defaultName");
    QTest::addColumn<QString>("focused");
    QTest::newRow("Yes") << "Yes"
                         << "Yes";
    QTest::newRow("third button") << "No"
                                  << "No";
    QTest::newRow("last button") << "Cancel"
                                 << "Cancel";
    // Names are compared without the "&": "&No" names no button.
    QTest::newRow("caption is not a name") << "&No"
                                           << "Yes";
    QTest::newRow("no such button") << "Retry"
                                    << "Yes";
}

void tst_MessageDialog::defaultButtonFocused()
{
    QFETCH(QString, defaultName);
    QFETCH(QString, focused);
    QString focus;
    ModalWatcher watcher([&](QWidget *dialog) {
        if (QWidget *widget = dialog->focusWidget())
            focus = widget->objectName();
        dialog->close();
    });
    ShowMessageDialog("Overwrite?", "Question", Overwrite, defaultName);
    QVERIFY(watcher.answered());
    QCOMPARE(focus, focused);
}

void tst_MessageDialog::laterActivationKeepsFocus()
{
    QString focus;
    ModalWatcher watcher([&](QWidget *dialog) {
        // GIVEN the user moved the focus from Yes to No
        dialog->findChild<QPushButton *>(QStringLiteral("No"))->setFocus();
        // WHEN the dialog is activated again
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(dialog, &activate);
        // THEN the focus stays on No
        focus = dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString();
        dialog->close();
    });
    ShowMessageDialog("Overwrite?", "Question", Overwrite, "Yes");
    QVERIFY(watcher.answered());
    QCOMPARE(focus, QString("No"));
}

void tst_MessageDialog::captionPieces_data()
{
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("two separators in a row") << "&Yes||&No" << QStringList{"Yes", "No"};
    QTest::newRow("0 pieces") << "0|&Retry|0|&Abort|0" << QStringList{"Retry", "Abort"};
    QTest::newRow("one button") << "OK" << QStringList{"OK"};
}

void tst_MessageDialog::captionPieces()
{
    QFETCH(QString, buttons);
    QFETCH(QStringList, names);
    QStringList shown;
    ModalWatcher watcher([&](QWidget *dialog) {
        const QList<QPushButton *> created = buttonsOf(dialog);
        shown = namesOf(created);
        created.last()->click();
    });
    // The last button's number is the count of created buttons.
    QCOMPARE(ShowMessageDialog("Go on?", "Question", buttons, ""), int(names.size()));
    QVERIFY(watcher.answered());
    QCOMPARE(shown, names);
}

void tst_MessageDialog::noButtons()
{
    int buttonCount = -1;
    ModalWatcher watcher([&](QWidget *dialog) {
        buttonCount = int(dialog->findChildren<QPushButton *>().size());
        dialog->close();
    });
    QCOMPARE(ShowMessageDialog("Nothing to choose", "Note", "", "Yes"), 0);
    QVERIFY(watcher.answered());
    QCOMPARE(buttonCount, 0);
}

void tst_MessageDialog::longMessageWidens()
{
    TMessageDialog dialog;
    dialog.build(QString(120, QLatin1Char('W')), "Question", Overwrite);
    const QLabel *label = messageLabel(&dialog);
    QVERIFY(label->width() > 68 * 4 - 5);
    QCOMPARE(dialog.width(), label->width() + 73);
    // The row stays centred: as far from the left edge as from the right,
    // give or take the even row's offset of 4.5 pixels.
    const QList<QPushButton *> buttons = buttonsOf(&dialog);
    QCOMPARE(buttons.size(), 4);
    const int leftGap = buttons.first()->x();
    const int rightGap = dialog.width() - buttons.last()->geometry().right() - 1;
    QVERIFY2(qAbs(rightGap - leftGap - 9) <= 1,
             qPrintable(QString("%1 %2").arg(leftGap).arg(rightGap)));
}

void tst_MessageDialog::multiLineMessageIsTaller()
{
    TMessageDialog oneLine;
    oneLine.build("Overwrite?", "Question", Overwrite);
    TMessageDialog threeLines;
    threeLines.build("Overwrite?\r\nC:\\Vestra\\STY\\a.sty\r\nThird line", "Question", Overwrite);

    const QLabel *label = messageLabel(&threeLines);
    QVERIFY(label->height() >= 3 * messageLabel(&oneLine)->height() - 2);
    for (QPushButton *button : buttonsOf(&threeLines)) {
        QCOMPARE(button->y(), label->geometry().bottom() + 1 + 30);
        QCOMPARE(threeLines.height(), button->geometry().bottom() + 1 + 12); // no band below
    }
    QCOMPARE(threeLines.width(), oneLine.width()); // no wider for the line breaks
}

void tst_MessageDialog::titleAndMessageNotGiven_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("0") << "0";
}

void tst_MessageDialog::titleAndMessageNotGiven()
{
    QFETCH(QString, text);
    TMessageDialog dialog;
    dialog.build(text, text, Overwrite);
    QCOMPARE(dialog.windowTitle(), QString("MessageDialog"));
    const QLabel *label = messageLabel(&dialog);
    QCOMPARE(label->text(), QString());
    // Still a line tall, so the buttons stay below the question image.
    QVERIFY(buttonsOf(&dialog).first()->y() >= 13 + 36);
}

void tst_MessageDialog::messageShownAsItIs()
{
    TMessageDialog dialog;
    const QString message = QStringLiteral("C:\\Styles & Co\\<b>coat</b>.sty");
    dialog.build(message, "Question", Overwrite);
    const QLabel *label = messageLabel(&dialog);
    QCOMPARE(label->text(), message);
    QCOMPARE(label->textFormat(), Qt::PlainText);
}

void tst_MessageDialog::buttonsHoldTheirCaptions_data()
{
    QTest::addColumn<QString>("buttons");
    QTest::newRow("English") << Overwrite;
    QTest::newRow("Japanese") << "はい(&Y)|すべて(&A)|いいえ(&N)|キャンセル";
    QTest::newRow("Thai") << "ใช่(&Y)|ทั้งหมด(&A)|ไม่(&N)|ยกเลิก";
    QTest::newRow("Indonesian") << "&Ya|&Semua|&Tidak|Batal";
}

// Every caption of the overwrite question fits its button with room to
// spare; the buttons are alike, at least 63 x 23, in their order, 5 apart.
void tst_MessageDialog::buttonsHoldTheirCaptions()
{
    QFETCH(QString, buttons);
    TMessageDialog dialog;
    dialog.build("The file exists. Overwrite?", "Question", buttons);
    const QList<QPushButton *> row = buttonsOf(&dialog);
    QCOMPARE(row.size(), 4);
    for (QPushButton *button : row) {
        const QString shown = QString(button->text()).remove('&');
        QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(shown) + 16,
                 qPrintable(shown));
        QVERIFY(button->height() >= button->fontMetrics().height() + 8);
        QCOMPARE(button->size(), row.first()->size());
        QVERIFY(button->width() >= 63 && button->height() >= 23);
    }
    for (qsizetype i = 1; i < row.size(); ++i)
        QCOMPARE(row.at(i)->x(), row.at(i - 1)->geometry().right() + 1 + 5);
    QCOMPARE(namesOf(row), dialog.buttonNames());
}

QTEST_MAIN(tst_MessageDialog)
#include "tst_messagedialog.moc"
