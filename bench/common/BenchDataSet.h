#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Makes the benchmark's data: text-like bytes that zlib compresses about 3:1,
// written as plain data files and packed with the project's writer. The seed
// is fixed, so every run measures the same bytes.
class BenchDataSet
{
public:
    explicit BenchDataSet(quint32 seed);

    struct Mix
    {
        int count = 300;
        int bigCount = 4; // spread evenly through the set
        int bigMinMiB = 10, bigMaxMiB = 50;
        int smallMinKiB = 20, smallMaxKiB = 200;
        QStringList extensions{QStringLiteral("sty"), QStringLiteral("sti"), QStringLiteral("tex"),
                               QStringLiteral("tfc")};
    };

    // A season of DETAIL data as the install benchmarks use it: 1,500
    // packages, ten of them 5-30 MiB.
    static Mix detailSeason()
    {
        Mix mix;
        mix.count = 1500;
        mix.bigCount = 10;
        mix.bigMinMiB = 5;
        mix.bigMaxMiB = 30;
        mix.extensions = QStringList{QStringLiteral("sty"), QStringLiteral("tex"),
                                     QStringLiteral("tfc")}; // what a DETAIL kind installs
        return mix;
    }

    // A season of very many small packages: 50,000 of 2-20 KB.
    static Mix manySmall()
    {
        Mix mix = detailSeason();
        mix.count = 50000;
        mix.bigCount = 0;
        mix.smallMinKiB = 2;
        mix.smallMaxKiB = 20;
        return mix;
    }

    // Writes mix.count packages below folder/packages (relative paths in
    // packages()): most of them small, mix.bigCount big ones. Returns false
    // with a message on failure.
    bool makeMixed(const QString &folder, const Mix &mix, QString *error);
    // Writes one package of size bytes as folder/packages/<relative>_,
    // streaming, so that making it does not raise the process's peak memory.
    bool makeOne(const QString &folder, qint64 size, QString *error,
                 const QString &relative = QStringLiteral("big.sty"));

    QStringList packages() const { return m_packages; }
    qint64 dataBytes() const { return m_dataBytes; }
    qint64 packageBytes() const { return m_packageBytes; }

private:
    QByteArray slice(qint64 size);
    bool writeDataFile(const QString &path, qint64 size, QString *error);
    bool pack(const QString &folder, const QString &relative, qint64 size, int level,
              QString *error);

    QRandomGenerator m_random;
    QByteArray m_pool;
    QStringList m_packages;
    qint64 m_dataBytes = 0;
    qint64 m_packageBytes = 0;
};
