#include "ui/MessageBoxes.h"

#include "MessageBoxAnswers.h"

#include <QLabel>
#include <QtTest>

// The platform's message boxes as the installer shows them.
class tst_MessageBoxes : public QObject
{
    Q_OBJECT
private slots:
    void pathBreaks_data();
    void pathBreaks();
    void wordsOnTheButtons();
};

void tst_MessageBoxes::pathBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // "|" for the zero-width break
    QTest::newRow("a Windows path") << "not deleted :C:\\Vestra 3.1\\Bin\\a.sty"
                                    << "not deleted :C:\\|Vestra 3.1\\|Bin\\|a.sty";
    QTest::newRow("a trailing separator") << "C:\\Bin\\"
                                          << "C:\\|Bin\\";
    QTest::newRow("a separator before a blank") << "a\\ b"
                                                << "a\\ b";
    QTest::newRow("a Qt path") << "/opt/Vestra/Bin"
                               << "/opt/Vestra/Bin";
}

void tst_MessageBoxes::pathBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(WithPathBreaks(text), shown.replace(u'|', QChar(0x200B)));
}

// The words given are on the buttons; the caption is the box's title alone.
void tst_MessageBoxes::wordsOnTheButtons()
{
    QStringList words;
    QList<SeenBox> seen;
    ModalWatcher watcher([&](QWidget *dialog) {
        auto *box = static_cast<QMessageBox *>(dialog);
        words = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
        PressOnBox(QMessageBox::No, &seen)(dialog);
    });
    QVERIFY(!AskYesNo(nullptr, "คำถาม", "C:\\a\\b", {"ตกลง", "ใช่(&Y)", "ไม่(&N)"}));
    QVERIFY(watcher.answered());
    QCOMPARE(words, QStringList({"ใช่(&Y)", "ไม่(&N)"}));
    QCOMPARE(seen.value(0).caption, QString("คำถาม"));
    QCOMPARE(seen.value(0).text, QString("C:\\a\\b"));
}

QTEST_MAIN(tst_MessageBoxes)
#include "tst_messageboxes.moc"
