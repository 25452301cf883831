#include "BenchDataSet.h"

#include "package/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 PoolSize = 8 * 1024 * 1024;
constexpr qint64 SliceSize = 1024 * 1024;

// 256 words and some numbers, which deflate packs about 3:1.
QByteArray makePool(QRandomGenerator &random)
{
    QList<QByteArray> words;
    for (int i = 0; i < 256; ++i) {
        QByteArray word(random.bounded(3, 11), 'a');
        for (char &c : word)
            c = char('a' + random.bounded(26));
        words << word;
    }
    static constexpr std::array<char, 5> separators{' ', ',', ';', '\n', ' '};
    QByteArray pool;
    pool.reserve(PoolSize + 16);
    while (pool.size() < PoolSize) {
        if (random.bounded(10) == 0)
            pool += QByteArray::number(random.bounded(1000));
        else
            pool += words[random.bounded(int(words.size()))];
        pool += separators[random.bounded(int(separators.size()))];
    }
    pool.resize(PoolSize);
    return pool;
}

} // namespace

BenchDataSet::BenchDataSet(quint32 seed) : m_random(seed), m_pool(makePool(m_random)) {}

// A piece of the pool at a random place; larger sizes are made of several.
QByteArray BenchDataSet::slice(qint64 size)
{
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        const qint64 take = qMin(size - bytes.size(), SliceSize);
        const qint64 at = m_random.bounded(PoolSize - take + 1);
        bytes.append(m_pool.constData() + at, take);
    }
    return bytes;
}

bool BenchDataSet::writeDataFile(const QString &path, qint64 size, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = u"Cannot write \"%1\": %2"_s.arg(path, file.errorString());
        return false;
    }
    for (qint64 written = 0; written < size;) {
        QByteArray chunk = slice(qMin(size - written, SliceSize));
        // STY and STI data carry a current format number.
        if (written == 0 && chunk.size() >= 24) {
            qToLittleEndian<qint32>(610, chunk.data());
            qToLittleEndian<qint32>(610, chunk.data() + 20);
        }
        if (file.write(chunk) != chunk.size()) {
            *error = u"Cannot write \"%1\": %2"_s.arg(path, file.errorString());
            return false;
        }
        written += chunk.size();
    }
    return true;
}

bool BenchDataSet::pack(const QString &folder, const QString &relative, qint64 size, int level,
                        QString *error)
{
    const QString data = folder + u"/plain/"_s + relative;
    const QString package = folder + u"/packages/"_s + relative + u'_';
    if (!writeDataFile(data, size, error))
        return false;
    QDir().mkpath(QFileInfo(package).path());
    PackageWriter writer;
    writer.setCompressionLevel(level);
    if (!writer.write(data, package, *PackageKindForDataPath(data))) {
        *error = writer.errorString();
        return false;
    }
    QFile::remove(data);
    m_packages << relative + u'_';
    m_dataBytes += size;
    m_packageBytes += QFileInfo(package).size();
    return true;
}

bool BenchDataSet::makeMixed(const QString &folder, const Mix &mix, QString *error)
{
    for (int i = 0; i < mix.count; ++i) {
        const bool big = mix.bigCount > 0 && i % qMax(mix.count / mix.bigCount, 1) == 0;
        const qint64 size
                = big ? m_random.bounded(mix.bigMinMiB, mix.bigMaxMiB + 1) * 1024 * 1024
                      : m_random.bounded(mix.smallMinKiB * 1024, mix.smallMaxKiB * 1024 + 1);
        // A few hundred files a folder, as a season's units hold them.
        const QString relative = u"unit%1/file%2.%3"_s.arg(i % qMax(12, mix.count / 300))
                                         .arg(i)
                                         .arg(mix.extensions[i % mix.extensions.size()]);
        if (!pack(folder, relative, size, -1, error))
            return false;
    }
    return true;
}

bool BenchDataSet::makeOne(const QString &folder, qint64 size, QString *error,
                           const QString &relative)
{
    // The fastest level keeps making a 1 GB package short; reading it is
    // what is measured.
    return pack(folder, relative, size, 1, error);
}
