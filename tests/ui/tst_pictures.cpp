#include "ui/Pictures.h"

#include "TestFiles.h"

#include <QImage>
#include <QtTest>

class tst_Pictures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void compiledPictureLoads_data();
    void compiledPictureLoads();
    void checkImagesDiffer();
    void checkImageOfIndex_data();
    void checkImageOfIndex();
    void readmePicture_data();
    void readmePicture();
    void readmePicturesDiffer();
};

void tst_Pictures::initTestCase()
{
    InitPictures();
    InitPictures(); // a second call must be harmless
}

void tst_Pictures::compiledPictureLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("banner") << Pictures::Banner << QSize(473, 83) << false;
    QTest::newRow("next") << Pictures::Next << QSize(16, 16) << true;
    QTest::newRow("question") << Pictures::Question << QSize(36, 36) << true;
    QTest::newRow("unchecked") << Pictures::CheckUnchecked << QSize(16, 16) << true;
    QTest::newRow("checked") << Pictures::CheckChecked << QSize(16, 16) << true;
    QTest::newRow("partial") << Pictures::CheckPartial << QSize(16, 16) << true;
}

void tst_Pictures::compiledPictureLoads()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, transparent);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    // Small pictures lie on the windows' own background: their corners are clear.
    QCOMPARE(image.hasAlphaChannel(), transparent);
    if (transparent)
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void tst_Pictures::checkImagesDiffer()
{
    const QImage unchecked(Pictures::CheckUnchecked);
    const QImage checked(Pictures::CheckChecked);
    const QImage partial(Pictures::CheckPartial);
    QVERIFY(unchecked != checked);
    QVERIFY(unchecked != partial);
    QVERIFY(checked != partial);
}

void tst_Pictures::checkImageOfIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("path");
    QTest::newRow("0 unchecked") << 0 << Pictures::CheckUnchecked;
    QTest::newRow("1 checked") << 1 << Pictures::CheckChecked;
    QTest::newRow("2 partly checked") << 2 << Pictures::CheckPartial;
    QTest::newRow("out of range") << 3 << Pictures::CheckUnchecked;
    QTest::newRow("negative") << -1 << Pictures::CheckUnchecked;
}

void tst_Pictures::checkImageOfIndex()
{
    QFETCH(int, index);
    QFETCH(QString, path);
    QCOMPARE(Pictures::CheckImage(index), path);
}

void tst_Pictures::readmePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Korean") << "readme_k.bmp";
    QTest::newRow("English") << "readme_e.bmp";
}

void tst_Pictures::readmePicture()
{
    QFETCH(QString, file);
    const QString path = QStringLiteral(QUILLON_RESOURCES_DIR "/") + file;
    const QByteArray bytes = TestFiles::read(path);
    // A plain 24-bit BMP: "BM", then the bit count at byte 28.
    QVERIFY2(bytes.size() > 30, qPrintable(path));
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(int(quint8(bytes.at(28))), 24);
    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(380, 350));

    // The areas under the welcome window's links show something to click.
    for (const QRect &area : {QRect(16, 136, 113, 52), QRect(16, 303, 185, 25)}) {
        const QImage part = image.copy(area);
        QSet<QRgb> colours;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                colours.insert(part.pixel(x, y));
        QVERIFY2(colours.size() > 10, "link area is blank");
    }
}

void tst_Pictures::readmePicturesDiffer()
{
    const QImage korean(QStringLiteral(QUILLON_RESOURCES_DIR "/readme_k.bmp"));
    const QImage english(QStringLiteral(QUILLON_RESOURCES_DIR "/readme_e.bmp"));
    QVERIFY(korean != english);
}

QTEST_GUILESS_MAIN(tst_Pictures)
#include "tst_pictures.moc"
