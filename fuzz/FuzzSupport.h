#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every harness shares. A harness defines both entry points below; the
// libFuzzer build calls them from libFuzzer's own main, the default build from
// ReplayMain.cpp, which runs them over the seed corpus as a test.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace Fuzz {

// A promise of the code under test that the input broke. It ends the run like
// a crash, so that libFuzzer keeps the input and the replay test fails.
inline void require(bool kept, const char *promise)
{
    if (kept)
        return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    std::abort();
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                    && file.write(bytes) == bytes.size(),
            "the harness can write its temporary file");
}

} // namespace Fuzz
