#include "package/DataHeader.h"
#include "package/PackageKind.h"
#include "package/PayloadStream.h"

#include "PackageBytes.h"

#include <QBuffer>
#include <QtTest>

using namespace PackageBytes;
using namespace Qt::StringLiterals;

class tst_PackageFormat : public QObject
{
    Q_OBJECT
private slots:
    void kindForPath_data();
    void kindForPath();
    void installedName();
    void payloadStream_data();
    void payloadStream();
    void compressedBlockLeavesPositionAfterIt();
    void checkDataHeader_data();
    void checkDataHeader();
};

void tst_PackageFormat::kindForPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind"); // -1: not a packed file

    QTest::newRow("sty") << "C:/data/unit/a.sty_" << int(PackageKind::STY);
    QTest::newRow("sti") << "a.sti_" << int(PackageKind::STI);
    QTest::newRow("tex") << "a.tex_" << int(PackageKind::TEX);
    QTest::newRow("tfc") << "a.tfc_" << int(PackageKind::TFC);
    QTest::newRow("capitals") << "A.STY_" << int(PackageKind::STY);
    QTest::newRow("plain data") << "a.sty" << -1;
    QTest::newRow("other") << "a.txt_" << -1;
    QTest::newRow("no name") << "sty_" << -1;
}

void tst_PackageFormat::kindForPath()
{
    QFETCH(QString, path);
    QFETCH(int, kind);
    const std::optional<PackageKind> found = PackageKindForPath(path);
    QCOMPARE(found ? int(*found) : -1, kind);
}

void tst_PackageFormat::installedName()
{
    QCOMPARE(InstalledName(u"D:/Vestra/Bin/STY/u1/x.sty_"_s), u"D:/Vestra/Bin/STY/u1/x.sty"_s);
    QCOMPARE(InstalledName(QString()), QString());
}

void tst_PackageFormat::payloadStream_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("storedSize");   // -1: stored as it is
    QTest::addColumn<QByteArray>("expected"); // empty: the block fails
    QTest::addColumn<quint32>("expectedSize");

    // Small data is inflated whole, data above PayloadStream::WholeLimit is
    // streamed: each with its own inflater, whose every failure must be zlib's.
    for (const qint64 dataSize : {qint64(3000), qint64(5 * 1024 * 1024)}) {
        const QByteArray data = styData(dataSize);
        const QByteArray stream = zlibCompress(data);
        const auto size = quint32(data.size());
        const qint64 streamSize = stream.size();
        const auto row = [&](const char *name) {
            return &QTest::newRow(
                    qPrintable((dataSize > PayloadStream::WholeLimit ? u"large, "_s : u"small, "_s)
                               + QLatin1StringView(name)));
        };
        *row("raw") << data << qint64(-1) << data << size;
        *row("compressed") << stream << streamSize << data << size;

        // Damaged blocks fail instead of leaving stale or partial bytes.
        *row("raw short read") << data.left(100) << qint64(-1) << QByteArray() << size;
        *row("stream cut") << stream.chopped(10) << streamSize << QByteArray() << size;
        *row("stored size too small") << stream << streamSize - 10 << QByteArray() << size;
        QByteArray corrupt = stream;
        corrupt[corrupt.size() / 2] = char(corrupt[corrupt.size() / 2] ^ 0x55);
        *row("corrupted stream") << corrupt << streamSize << QByteArray() << size;
        QByteArray badCheck = stream;
        badCheck[badCheck.size() - 1] = char(badCheck[badCheck.size() - 1] ^ 0x01);
        *row("wrong Adler-32") << badCheck << streamSize << QByteArray() << size;
        QByteArray badHeader = stream;
        badHeader[1] = char(badHeader[1] ^ 0x01);
        *row("header check bits") << badHeader << streamSize << QByteArray() << size;
        *row("expected larger than stream") << stream << streamSize << QByteArray() << size + 1;
        *row("expected smaller than stream") << stream << streamSize << QByteArray() << size - 1;
    }
    // One bit off in a length code gives the reserved code 287, which zlib
    // refuses and a lenient inflater reads as 258, the same bytes and check.
    const QByteArray reserved = QByteArray::fromBase64(
            "eJzjYGIYBeNgFAxyEFiamZOTn6dQnJhbkJOqkJJYkmilEBwSGW9kYGQeHKzvnFhcmpij75STX1qcqu/kAxQ0MNQrLq"
            "nkAgB2LBMI");
    QTest::newRow("small, reserved length code")
            << reserved << qint64(reserved.size()) << QByteArray() << quint32(994);
}

void tst_PackageFormat::payloadStream()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, storedSize);
    QFETCH(QByteArray, expected);
    QFETCH(quint32, expectedSize);

    // zlib alone first: the faster inflaters must give its bytes, or fail
    // with its reason and words.
    QString zlibError;
    FileFailure zlibFailure;
    for (const auto inflaters :
         {PayloadStream::Inflaters::ZlibOnly, PayloadStream::Inflaters::Fastest}) {
        PayloadStream::setInflaters(inflaters);
        QBuffer device(&file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        QByteArray buffer(expectedSize, '\0');
        PayloadStream stream(device);
        const bool started = storedSize < 0 ? stream.startRaw(expectedSize)
                                            : stream.startCompressed(storedSize, expectedSize);
        // In pieces, as the extractor reads, so that a failure can lie
        // beyond bytes handed out already.
        qint64 done = 0;
        for (qint64 got = 1; started && got > 0 && done < expectedSize; done += got)
            got = stream.read(buffer.data() + done, qMin<qint64>(expectedSize - done, 100000));
        const bool ok = started && done == expectedSize && stream.atEnd()
                        && stream.errorString().isEmpty();
        QCOMPARE(ok, !expected.isEmpty());
        if (ok) {
            QCOMPARE(buffer, expected);
        } else if (inflaters == PayloadStream::Inflaters::ZlibOnly) {
            zlibError = stream.errorString();
            zlibFailure = stream.failure();
            QVERIFY(!zlibError.isEmpty());
        } else {
            QCOMPARE(stream.errorString(), zlibError);
            QCOMPARE(stream.failure().reason, zlibFailure.reason);
            QCOMPARE(stream.failure().systemMessage, zlibFailure.systemMessage);
        }
    }
}

void tst_PackageFormat::compressedBlockLeavesPositionAfterIt()
{
    // GIVEN two compressed blocks one after the other
    const QByteArray first = styData(2000), second = stiData(3000);
    const QByteArray s1 = zlibCompress(first), s2 = zlibCompress(second);
    QByteArray file = s1 + s2;
    QBuffer device(&file);
    QVERIFY(device.open(QIODevice::ReadOnly));
    // WHEN both are read in turn THEN each gives its own data
    QByteArray a(first.size(), '\0'), b(second.size(), '\0');
    PayloadStream firstStream(device);
    QVERIFY(firstStream.startCompressed(s1.size(), a.size()));
    QCOMPARE(firstStream.read(a.data(), a.size()), a.size());
    PayloadStream secondStream(device);
    QVERIFY(secondStream.startCompressed(s2.size(), b.size()));
    QCOMPARE(secondStream.read(b.data(), b.size()), b.size());
    QCOMPARE(a, first);
    QCOMPARE(b, second);
}

void tst_PackageFormat::checkDataHeader_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");

    const int sty = int(PackageKind::STY), sti = int(PackageKind::STI);
    QTest::newRow("STY 500") << sty << styData(936, 500) << true;
    QTest::newRow("STY 499") << sty << styData(2000, 499) << false;
    QTest::newRow("STY negative") << sty << styData(2000, -1) << false;
    QTest::newRow("STY 935 bytes") << sty << styData(935, 600) << false;
    QTest::newRow("STI 500 at 20") << sti << stiData(212, 500) << true;
    QByteArray sti499 = stiData(400, 499);
    qToLittleEndian<qint32>(600, sti499.data()); // offset 0 does not count for STI
    QTest::newRow("STI 499 at 20") << sti << sti499 << false;
    QTest::newRow("STI 211 bytes") << sti << stiData(211, 600) << false;
    QTest::newRow("TEX not inspected") << int(PackageKind::TEX) << QByteArray("x") << true;
    QTest::newRow("TFC empty") << int(PackageKind::TFC) << QByteArray() << true;
}

void tst_PackageFormat::checkDataHeader()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    const PackageInfo info{data.size()};
    QCOMPARE(CheckDataHeader(info, data, PackageKind(kind)), ok);
    // The payload size counts too: a header read past the data is not trusted.
    if (ok && DataHeaderSize(PackageKind(kind)) > 0)
        QVERIFY(!CheckDataHeader(PackageInfo{DataHeaderSize(PackageKind(kind)) - 1}, data,
                                 PackageKind(kind)));
}

QTEST_GUILESS_MAIN(tst_PackageFormat)
#include "tst_packageformat.moc"
