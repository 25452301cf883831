// The default build's main for a harness: runs it once over every file named
// on the command line or lying in a folder named there, so that the seed
// corpus stays a set of regression cases without libFuzzer.

#include "FuzzSupport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

QStringList inputFiles(int argc, char **argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(path).isDir()) {
            files.append(path);
            continue;
        }
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
    }
    std::sort(files.begin(), files.end()); // the same order on every machine
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    const QStringList files = inputFiles(argc, argv);
    for (const QString &path : files) {
        QFile file(path);
        Fuzz::require(file.open(QIODevice::ReadOnly), "a corpus file can be read");
        const QByteArray data = file.readAll();
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()),
                               size_t(data.size()));
    }
    std::printf("%lld inputs replayed\n", qint64(files.size()));
    return files.isEmpty() ? 1 : 0; // an empty corpus tests nothing
}
