#include "ui/MessageDialogLayout.h"

#include <QtTest>

class tst_MessageDialogLayout : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void buttonSize_data();
    void buttonSize();
    void splitCaptions_data();
    void splitCaptions();
    void givenText_data();
    void givenText();
    void labelText_data();
    void labelText();
};

void tst_MessageDialogLayout::layout_data()
{
    QTest::addColumn<QSize>("labelSize");
    QTest::addColumn<int>("buttonCount");
    QTest::addColumn<QSize>("buttonSize");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QList<int>>("lefts");
    const QSize plain(63, 23);
    // The overwrite question: Yes, All, No, Cancel under a label up to 267
    // wide; the window ends 12 pixels below the buttons.
    QTest::newRow("four buttons") << QSize(200, 13) << 4 << plain << QSize(340, 91)
                                  << QList<int>{32, 100, 168, 236};
    QTest::newRow("four buttons, label 267 wide")
            << QSize(267, 13) << 4 << plain << QSize(340, 91) << QList<int>{32, 100, 168, 236};
    QTest::newRow("three buttons, short message")
            << QSize(50, 13) << 3 << plain << QSize(272, 91) << QList<int>{36, 104, 172};
    // A label wider than 68 n - 5 widens the window to label + 73; the row
    // stays centred on the new half width (473 / 2 = 236).
    QTest::newRow("long message widens")
            << QSize(400, 13) << 4 << plain << QSize(473, 91) << QList<int>{98, 166, 234, 302};
    QTest::newRow("label one past 68 n - 5")
            << QSize(268, 13) << 4 << plain << QSize(341, 91) << QList<int>{32, 100, 168, 236};
    // Several lines make the window taller by the label's height.
    QTest::newRow("three lines") << QSize(100, 45) << 2 << plain << QSize(204, 123)
                                 << QList<int>{32, 100};
    QTest::newRow("one button") << QSize(20, 13) << 1 << plain << QSize(136, 91) << QList<int>{36};
    QTest::newRow("five buttons") << QSize(20, 13) << 5 << plain << QSize(408, 91)
                                  << QList<int>{36, 104, 172, 240, 308};
    QTest::newRow("no buttons") << QSize(20, 13) << 0 << plain << QSize(93, 91) << QList<int>{};
    QTest::newRow("no buttons, long message")
            << QSize(300, 13) << 0 << plain << QSize(373, 91) << QList<int>{};
    // Captions wider than 63: the row keeps its gaps of 5 and its middle
    // (412 / 2 = 206, 326 / 2 = 163), and the window grows with it.
    QTest::newRow("four wide buttons") << QSize(200, 13) << 4 << QSize(81, 23) << QSize(412, 91)
                                       << QList<int>{32, 118, 204, 290};
    QTest::newRow("three wide, tall buttons")
            << QSize(50, 13) << 3 << QSize(81, 27) << QSize(326, 95) << QList<int>{36, 122, 208};
}

void tst_MessageDialogLayout::layout()
{
    QFETCH(QSize, labelSize);
    QFETCH(int, buttonCount);
    QFETCH(QSize, buttonSize);
    QFETCH(QSize, window);
    QFETCH(QList<int>, lefts);
    const MessageDialogLayout layout = LayOutMessageDialog(labelSize, buttonCount, buttonSize);
    QCOMPARE(layout.window, window);
    QCOMPARE(layout.buttons.size(), lefts.size());
    for (qsizetype i = 0; i < lefts.size(); ++i) {
        QCOMPARE(layout.buttons.at(i).x(), lefts.at(i));
        // 30 pixels below the label, whatever its height
        QCOMPARE(layout.buttons.at(i).y(), 13 + labelSize.height() + 30);
    }
}

void tst_MessageDialogLayout::buttonSize_data()
{
    QTest::addColumn<QList<QSize>>("captions");
    QTest::addColumn<QSize>("size");
    QTest::newRow("no captions") << QList<QSize>{} << QSize(63, 23);
    QTest::newRow("short captions") << QList<QSize>{{20, 13}, {47, 15}} << QSize(63, 23);
    QTest::newRow("one wide caption makes all wide")
            << QList<QSize>{{20, 13}, {65, 13}, {30, 13}} << QSize(81, 23);
    QTest::newRow("a tall script") << QList<QSize>{{30, 19}} << QSize(63, 27);
}

// Each caption keeps 8 pixels from its button's sides and 4 from top and bottom.
void tst_MessageDialogLayout::buttonSize()
{
    QFETCH(QList<QSize>, captions);
    QFETCH(QSize, size);
    QCOMPARE(MessageButtonSize(captions), size);
}

void tst_MessageDialogLayout::splitCaptions_data()
{
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("overwrite question")
            << "&Yes|&All|&No|Cancel" << QStringList{"&Yes", "&All", "&No", "Cancel"}
            << QStringList{"Yes", "All", "No", "Cancel"};
    QTest::newRow("two separators in a row")
            << "&Yes||&No" << QStringList{"&Yes", "&No"} << QStringList{"Yes", "No"};
    QTest::newRow("0 pieces take no number")
            << "0|Retry|0|Abort" << QStringList{"Retry", "Abort"} << QStringList{"Retry", "Abort"};
    QTest::newRow("separators at the ends") << "|OK|" << QStringList{"OK"} << QStringList{"OK"};
    QTest::newRow("only the first & goes")
            << "Save && &Quit" << QStringList{"Save && &Quit"} << QStringList{"Save & &Quit"};
    QTest::newRow("& in the middle") << "Re&try" << QStringList{"Re&try"} << QStringList{"Retry"};
    QTest::newRow("00 is a caption") << "00" << QStringList{"00"} << QStringList{"00"};
    QTest::newRow("empty list") << "" << QStringList{} << QStringList{};
    QTest::newRow("0 list") << "0" << QStringList{} << QStringList{};
    QTest::newRow("separators only") << "||" << QStringList{} << QStringList{};
}

void tst_MessageDialogLayout::splitCaptions()
{
    QFETCH(QString, buttons);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, names);

    const QList<MessageButton> split = SplitButtonCaptions(buttons);
    QCOMPARE(split.size(), captions.size());
    for (qsizetype i = 0; i < split.size(); ++i) {
        QCOMPARE(split.at(i).caption, captions.at(i));
        QCOMPARE(split.at(i).name, names.at(i));
        QCOMPARE(split.at(i).result, int(i) + 1);
    }
}

void tst_MessageDialogLayout::givenText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("given");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("blank") << " " << true;
    QTest::newRow("0 with blank") << "0 " << true;
    QTest::newRow("words") << "Question" << true;
}

void tst_MessageDialogLayout::givenText()
{
    QFETCH(QString, text);
    QFETCH(bool, given);
    QCOMPARE(IsGivenText(text), given);
}

void tst_MessageDialogLayout::labelText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << "Overwrite?\r\nC:\\a.sty"
                           << "Overwrite?\nC:\\a.sty";
    QTest::newRow("LF") << "a\nb"
                        << "a\nb";
    QTest::newRow("lone CR") << "a\rb"
                             << "a\nb";
    QTest::newRow("blank line kept") << "a\r\n\r\nb"
                                     << "a\n\nb";
    QTest::newRow("0 is not given") << "0"
                                    << "";
}

void tst_MessageDialogLayout::labelText()
{
    QFETCH(QString, message);
    QFETCH(QString, text);
    QCOMPARE(MessageLabelText(message), text);
}

QTEST_APPLESS_MAIN(tst_MessageDialogLayout)
#include "tst_messagedialoglayout.moc"
