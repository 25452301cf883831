#include "package/PackageExtractor.h"
#include "package/PackageReader.h"

#include "PackageBytes.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace PackageBytes;

// Damaged variants of valid packages, made with a fixed seed. Each must either
// fail cleanly or give exactly the data that a plain reading of its header with
// zlib's own uncompress gives; none may crash or hang.
class tst_PackageFuzz : public QObject
{
    Q_OBJECT
private slots:
    void readerAgreesWithUncompress_data();
    void readerAgreesWithUncompress();
    void extractorFailsCleanly();
};

namespace {

constexpr quint32 Seed = 20261208;

// What the bytes mean read plainly; nothing when they must fail.
std::optional<QByteArray> plainReading(const QByteArray &file, const char *magic)
{
    if (file.size() < 8 || file.left(8) != QByteArray(magic, 7) + '\0')
        return file;
    if (file.size() < 16)
        return std::nullopt;
    const auto unpacked = qFromLittleEndian<quint32>(file.constData() + 8);
    const auto stored = qFromLittleEndian<quint32>(file.constData() + 12);
    if (stored >= unpacked) {
        if (file.size() - 16 < qint64(unpacked))
            return std::nullopt;
        return file.mid(16, unpacked);
    }
    // The variants come from data of a few KB, which no stream of theirs can
    // inflate beyond a megabyte.
    if (file.size() - 16 < qint64(stored) || unpacked > 1024 * 1024)
        return std::nullopt;
    QByteArray out(qsizetype(unpacked) + 1, '\0');
    uLongf outSize = uLongf(out.size());
    const int result = uncompress(reinterpret_cast<Bytef *>(out.data()), &outSize,
                                  reinterpret_cast<const Bytef *>(file.constData() + 16), stored);
    if (result != Z_OK || outSize != unpacked)
        return std::nullopt;
    out.resize(qsizetype(unpacked));
    return out;
}

QByteArray damaged(const QByteArray &file, QRandomGenerator &random)
{
    QByteArray bytes = file;
    const int flips = random.bounded(0, 4);
    for (int i = 0; i < flips; ++i) {
        // Half of the flips go to the header, where the sizes are.
        const qsizetype at = random.bounded(2) ? random.bounded(16) : random.bounded(bytes.size());
        bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
    }
    if (flips == 0 || random.bounded(4) == 0)
        bytes.truncate(random.bounded(bytes.size()));
    return bytes;
}

// Reads the whole data in chunks of changing size; nothing on failure.
std::optional<QByteArray> readAll(QByteArray file, QRandomGenerator &random)
{
    QBuffer device(&file);
    device.open(QIODevice::ReadOnly);
    PackageReader reader;
    if (!reader.open(device, PackageKind::STY))
        return std::nullopt;
    QByteArray data;
    QByteArray chunk(64 * 1024, '\0');
    while (!reader.atEnd()) {
        const qint64 got = reader.read(chunk.data(), random.bounded(1, int(chunk.size())));
        if (got <= 0)
            return std::nullopt;
        data += chunk.left(got);
    }
    if (data.size() != reader.info().payloadSize)
        return QByteArray("payload size differs from the data read");
    return data;
}

} // namespace

void tst_PackageFuzz::readerAgreesWithUncompress_data()
{
    QTest::addColumn<QByteArray>("package");
    const QByteArray sty = styData(6000);
    QTest::newRow("compressed") << compressed("STYComp", sty);
    QTest::newRow("raw") << header("STYComp", 6000, 6000) + sty;
}

void tst_PackageFuzz::readerAgreesWithUncompress()
{
    QFETCH(QByteArray, package);
    QRandomGenerator random(Seed);
    int read = 0;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray file = damaged(package, random);
        const std::optional<QByteArray> expected = plainReading(file, "STYComp");
        const std::optional<QByteArray> got = readAll(file, random);
        QVERIFY2(got.has_value() == expected.has_value(),
                 QByteArray("variant " + QByteArray::number(i)).constData());
        if (got) {
            QCOMPARE(*got, *expected);
            ++read;
        }
    }
    // Both outcomes must be well represented, or the variants test little.
    qInfo("%d of 3000 variants read", read);
    QVERIFY(read > 300 && read < 2700);
}

void tst_PackageFuzz::extractorFailsCleanly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString packed = dir.filePath("a.sty_"), installed = dir.filePath("a.sty");
    const QByteArray package = compressed("STYComp", styData(6000));
    QRandomGenerator random(Seed + 1);
    PackageExtractor extractor;
    for (int i = 0; i < 300; ++i) {
        const QByteArray file = damaged(package, random);
        QVERIFY(TestFiles::write(packed, file));
        const std::optional<QByteArray> expected = plainReading(file, "STYComp");
        if (extractor.extract(packed, installed)) {
            QVERIFY(expected.has_value());
            QCOMPARE(TestFiles::read(installed), *expected);
            QVERIFY(QFile::remove(installed));
        } else {
            QVERIFY(!extractor.errorString().isEmpty());
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

QTEST_GUILESS_MAIN(tst_PackageFuzz)
#include "tst_packagefuzz.moc"
