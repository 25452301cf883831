#pragma once

#include "package/FileFailure.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

struct z_stream_s;
struct inflate_state;

// Reads the payload of one stored block from a device in chunks: either bytes
// stored as they are, or a zlib stream (as zlib's compress writes it) that is
// inflated on the way. Memory use is two fixed chunks, whatever sizes the block
// claims. Every read is checked: a short read, a zlib error, a failed Adler-32
// check and a stream that gives more or fewer bytes than expected all fail.
class PayloadStream
{
public:
    // Stored bytes are read in chunks of this size.
    static constexpr qint64 InputChunkSize = 256 * 1024;
    // Data up to this size is inflated at once where that is faster (see
    // inflateWhole()); larger data is streamed.
    static constexpr qint64 WholeLimit = 4 * 1024 * 1024;

    // The inflaters at hand, fastest first; each falls back to zlib, which
    // alone names a failure. Benchmarks and tests compare them.
    enum class Inflaters {
        Fastest,  // ISA-L, at once for small data and streaming for the rest
        ZlibOnly, // zlib's streaming for everything
    };
    static void setInflaters(Inflaters inflaters);
    static Inflaters inflaters();

    explicit PayloadStream(QIODevice &device);
    ~PayloadStream();
    PayloadStream(const PayloadStream &) = delete;
    PayloadStream &operator=(const PayloadStream &) = delete;

    // Starts a block of size bytes stored as they are at the device's position.
    [[nodiscard]] bool startRaw(qint64 size);
    // Starts a block of storedSize bytes of zlib stream at the device's
    // position that inflates to expectedSize bytes.
    [[nodiscard]] bool startCompressed(qint64 storedSize, qint64 expectedSize);

    // Fills out with the next maxSize data bytes, or with fewer when the data
    // ends first. Returns the count, 0 at the end of the data, -1 on failure.
    // The last data byte is only delivered once the stream's end and check
    // have been read.
    qint64 read(char *out, qint64 maxSize);

    bool atEnd() const { return m_dataLeft == 0; }
    // Why the block failed, as a phrase to follow "Cannot unpack ...: ".
    QString errorString() const { return m_error; }
    // The reason of the failure, and zlib's or the device's message.
    const FileFailure &failure() const { return m_failure; }

private:
    bool fail(FailureReason reason, const QString &phrase, const QString &systemMessage = {});
    bool readFailed();
    bool storedBytesAvailable(qint64 storedSize);
    qint64 readRaw(char *out, qint64 size);
    qint64 inflateInto(char *out, qint64 size);
    bool refill();
    bool finishStream();
    bool inflateFailed(int result);
    bool inflateWhole();
    qint64 readWhole(char *out, qint64 size);
    bool startZlib();
    bool startIsal();
    qint64 isalInto(char *out, qint64 size);
    bool finishIsal();
    bool fallBackToZlib();
    bool refillIsal();

    QIODevice &m_device;
    std::unique_ptr<z_stream_s> m_zlib;
    std::unique_ptr<inflate_state> m_isal; // while ISA-L streams the block
    qint64 m_blockStart = 0;
    bool m_zlibStarted = false;
    bool m_streamEnded = false;
    QByteArray m_input;
    QByteArray m_whole; // all the data, when it was inflated at once
    qint64 m_wholeRead = 0;
    qint64 m_storedSize = 0;
    qint64 m_storedLeft = 0;
    qint64 m_dataLeft = 0;
    qint64 m_expected = 0;
    QString m_error;
    FileFailure m_failure;
};
