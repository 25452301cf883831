#include "PayloadStream.h"

#include <zlib.h>
#ifdef QUILLON_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <atomic>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// zlib counts in 32-bit units; larger requests are taken in several steps.
uInt zlibCount(qint64 size)
{
    return uInt(qMin<qint64>(size, std::numeric_limits<uInt>::max()));
}

std::atomic<PayloadStream::Inflaters> s_inflaters = PayloadStream::Inflaters::Fastest;

QString truncatedBy(qint64 missing)
{
    return u"the file is truncated: it ends %1 bytes before its data does"_s.arg(missing);
}

} // namespace

void PayloadStream::setInflaters(Inflaters inflaters)
{
    s_inflaters = inflaters;
}

PayloadStream::Inflaters PayloadStream::inflaters()
{
    return s_inflaters;
}

PayloadStream::PayloadStream(QIODevice &device) : m_device(device) {}

PayloadStream::~PayloadStream()
{
    if (m_zlibStarted)
        inflateEnd(m_zlib.get());
}

bool PayloadStream::fail(FailureReason reason, const QString &phrase, const QString &systemMessage)
{
    if (m_error.isEmpty()) {
        m_error = phrase;
        m_failure = {reason, systemMessage};
    }
    return false;
}

// A device that knows its size shows a truncated block before anything is
// inflated or written.
bool PayloadStream::storedBytesAvailable(qint64 storedSize)
{
    if (m_device.isSequential())
        return true;
    const qint64 available = m_device.size() - m_device.pos();
    if (available < storedSize)
        return fail(FailureReason::WrongSize,
                    u"the file is truncated: its header announces %1 more bytes, it holds %2"_s
                            .arg(storedSize)
                            .arg(qMax<qint64>(available, 0)));
    return true;
}

bool PayloadStream::startRaw(qint64 size)
{
    m_dataLeft = m_expected = size;
    return storedBytesAvailable(size);
}

bool PayloadStream::startCompressed(qint64 storedSize, qint64 expectedSize)
{
    m_storedLeft = m_storedSize = storedSize;
    m_dataLeft = m_expected = expectedSize;
    if (!storedBytesAvailable(storedSize))
        return false;
    m_blockStart = m_device.pos();
    if (inflateWhole() || startIsal())
        return true;
    return m_error.isEmpty() && startZlib();
}

bool PayloadStream::startZlib()
{
    m_zlib = std::make_unique<z_stream_s>();
    if (inflateInit(m_zlib.get()) != Z_OK)
        return fail(FailureReason::Other, u"zlib cannot start inflating"_s,
                    QString::fromLatin1(m_zlib->msg ? m_zlib->msg : ""));
    m_zlibStarted = true;
    m_input.resize(qMin(InputChunkSize, qMax<qint64>(m_storedSize, 1)));
    return true;
}

qint64 PayloadStream::read(char *out, qint64 maxSize)
{
    if (!m_error.isEmpty())
        return -1;
    const qint64 wanted = qMin(maxSize, m_dataLeft);
    const qint64 got = !m_whole.isNull() ? readWhole(out, wanted)
                       : m_isal          ? isalInto(out, wanted)
                       : m_zlibStarted   ? inflateInto(out, wanted)
                                         : readRaw(out, wanted);
    if (got < 0)
        return -1;
    m_dataLeft -= got;
    if (m_dataLeft == 0 && !m_streamEnded) {
        if (m_isal ? !finishIsal() : m_zlibStarted && !finishStream())
            return -1;
    }
    return got;
}

namespace {

// The header as zlib checks it: deflate, a window of at most 32 KB, no preset
// dictionary, and the check bits.
bool ZlibTakesHeader(const uint8_t *header)
{
    const unsigned cmf = header[0], flg = header[1];
    return (cmf & 0x0f) == 8 && (cmf >> 4) <= 7 && (flg & 0x20) == 0
           && ((cmf << 8) | flg) % 31 == 0;
}

} // namespace

// Small data (most of a data set) is read and inflated at once by ISA-L,
// some three times faster than zlib. Anything short of a stream that fills
// exactly the expected size from exactly the stored bytes, with a good check,
// goes back to zlib's streaming, which then gives the failure and its
// message. (libdeflate, faster still on small data, was dropped: it reads the
// reserved length codes 286 and 287 as 258, so it took damaged streams that
// zlib refuses.)
bool PayloadStream::inflateWhole()
{
#ifdef QUILLON_HAVE_ISAL
    if (s_inflaters == Inflaters::ZlibOnly || m_expected > WholeLimit || m_storedSize > WholeLimit
        || m_device.isSequential())
        return false;
    const qint64 start = m_device.pos();
    QByteArray stored = m_device.read(m_storedSize);
    QByteArray data(m_expected, Qt::Uninitialized);
    if (stored.size() == m_storedSize && stored.size() >= 2
        && ZlibTakesHeader(reinterpret_cast<const uint8_t *>(stored.constData()))) {
        inflate_state state;
        isal_inflate_init(&state);
        state.crc_flag = ISAL_ZLIB;
        state.next_in = reinterpret_cast<uint8_t *>(stored.data());
        state.avail_in = uint32_t(stored.size());
        state.next_out = reinterpret_cast<uint8_t *>(data.data());
        state.avail_out = uint32_t(data.size());
        if (isal_inflate_stateless(&state) == ISAL_DECOMP_OK && state.avail_in == 0
            && state.avail_out == 0 && qint64(state.total_out) == m_expected) {
            m_whole = std::move(data);
            m_storedLeft = 0;
            return true;
        }
    }
    // Back to the block's start for zlib; a device that cannot go back fails
    // the block there.
    if (!m_device.seek(start))
        readFailed();
    return false;
#else
    return false;
#endif
}

qint64 PayloadStream::readWhole(char *out, qint64 size)
{
    memcpy(out, m_whole.constData() + m_wholeRead, size_t(size));
    m_wholeRead += size;
    return size;
}

qint64 PayloadStream::readRaw(char *out, qint64 size)
{
    const qint64 got = m_device.read(out, size);
    if (got < 0) {
        readFailed();
        return -1;
    }
    if (got < size) {
        fail(FailureReason::WrongSize, truncatedBy(m_dataLeft - got));
        return -1;
    }
    return got;
}

qint64 PayloadStream::inflateInto(char *out, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        if (m_zlib->avail_in == 0 && !refill())
            return -1;
        m_zlib->next_out = reinterpret_cast<Bytef *>(out + done);
        m_zlib->avail_out = zlibCount(size - done);
        const uInt room = m_zlib->avail_out;
        const int result = inflate(m_zlib.get(), Z_NO_FLUSH);
        done += room - m_zlib->avail_out;
        if (result == Z_STREAM_END) {
            m_streamEnded = true;
            if (done < m_dataLeft) {
                fail(FailureReason::WrongSize,
                     u"the data ends after %1 of the %2 bytes its header announces"_s
                             .arg(m_expected - m_dataLeft + done)
                             .arg(m_expected));
                return -1;
            }
        } else if (inflateFailed(result)) {
            return -1;
        }
    }
    return done;
}

// After the last expected byte the stream must end there, with a good check.
bool PayloadStream::finishStream()
{
    char scratch[64];
    while (!m_streamEnded) {
        if (m_zlib->avail_in == 0 && !refill())
            return false;
        m_zlib->next_out = reinterpret_cast<Bytef *>(scratch);
        m_zlib->avail_out = sizeof scratch;
        const int result = inflate(m_zlib.get(), Z_NO_FLUSH);
        if (m_zlib->avail_out != sizeof scratch)
            return fail(
                    FailureReason::WrongSize,
                    u"the data is longer than the %1 bytes its header announces"_s.arg(m_expected));
        if (result == Z_STREAM_END)
            m_streamEnded = true;
        else if (inflateFailed(result))
            return false;
    }
    return true;
}

bool PayloadStream::inflateFailed(int result)
{
    // Z_BUF_ERROR only means "no progress"; with input and room left that
    // cannot happen, so it is an error too.
    if (result == Z_OK)
        return false;
    const QString message
            = u"zlib: "_s + QString::fromLatin1(m_zlib->msg ? m_zlib->msg : zError(result));
    fail(FailureReason::DoesNotInflate, u"the compressed data is damaged (%1)"_s.arg(message),
         message);
    return true;
}

bool PayloadStream::readFailed()
{
    return fail(FailureReason::CannotRead, u"read error: %1"_s.arg(m_device.errorString()),
                m_device.errorString());
}

bool PayloadStream::refill()
{
    if (m_storedLeft == 0)
        return fail(
                FailureReason::WrongSize,
                u"the compressed data is cut short: it needs more than its %1 stored bytes"_s.arg(
                        m_storedSize));
    const qint64 size = qMin<qint64>(m_input.size(), m_storedLeft);
    const qint64 got = m_device.read(m_input.data(), size);
    if (got < 0)
        return readFailed();
    if (got < size)
        return fail(FailureReason::WrongSize, truncatedBy(m_storedLeft - got));
    m_storedLeft -= got;
    m_zlib->next_in = reinterpret_cast<Bytef *>(m_input.data());
    m_zlib->avail_in = uInt(got);
    return true;
}

// ISA-L streams larger data some three times faster than zlib, in chunks as
// zlib does. zlib alone judges a stream, though: a header that zlib would
// refuse goes to zlib from the start, and anything short of exactly the
// expected bytes with a good check goes back to zlib from the block's start,
// which then gives the failure and its message (or finds none).
bool PayloadStream::startIsal()
{
#ifdef QUILLON_HAVE_ISAL
    if (s_inflaters == Inflaters::ZlibOnly || m_device.isSequential() || !m_error.isEmpty())
        return false;
    m_input.resize(qMin(InputChunkSize, qMax<qint64>(m_storedSize, 1)));
    m_isal = std::make_unique<inflate_state>();
    isal_inflate_init(m_isal.get());
    m_isal->crc_flag = ISAL_ZLIB;
    if (!refillIsal() || m_isal->avail_in < 2)
        return fallBackToZlib();
    if (!ZlibTakesHeader(m_isal->next_in))
        return fallBackToZlib();
    return true;
#else
    return false;
#endif
}

qint64 PayloadStream::isalInto(char *out, qint64 size)
{
#ifdef QUILLON_HAVE_ISAL
    qint64 done = 0;
    bool failed = false;
    while (done < size && !failed) {
        if (m_isal->avail_in == 0 && m_isal->block_state != ISAL_BLOCK_FINISH && !refillIsal())
            break;
        m_isal->next_out = reinterpret_cast<uint8_t *>(out + done);
        m_isal->avail_out = uint32_t(qMin<qint64>(size - done, 1 << 30));
        const uint32_t room = m_isal->avail_out, input = m_isal->avail_in;
        const int result = isal_inflate(m_isal.get());
        done += room - m_isal->avail_out;
        const bool stuck = room == m_isal->avail_out && input == m_isal->avail_in;
        failed = result < 0 || result == ISAL_NEED_DICT || stuck;
    }
    if (done == size && !failed)
        return done;
    // This call's bytes come again from zlib.
    return fallBackToZlib() ? inflateInto(out, size) : -1;
#else
    Q_UNUSED(out);
    Q_UNUSED(size);
    return -1;
#endif
}

// After the last expected byte the stream must end there, with a good check.
bool PayloadStream::finishIsal()
{
#ifdef QUILLON_HAVE_ISAL
    char scratch[64];
    while (m_isal->block_state != ISAL_BLOCK_FINISH) {
        if (m_isal->avail_in == 0 && !refillIsal())
            return fallBackToZlib() && finishStream();
        m_isal->next_out = reinterpret_cast<uint8_t *>(scratch);
        m_isal->avail_out = sizeof scratch;
        const uint32_t input = m_isal->avail_in;
        const int result = isal_inflate(m_isal.get());
        if (result < 0 || result == ISAL_NEED_DICT || m_isal->avail_out != sizeof scratch
            || (input == m_isal->avail_in && m_isal->block_state != ISAL_BLOCK_FINISH))
            return fallBackToZlib() && finishStream();
    }
    m_streamEnded = true;
    return true;
#else
    return false;
#endif
}

bool PayloadStream::refillIsal()
{
#ifdef QUILLON_HAVE_ISAL
    if (m_storedLeft == 0)
        return false;
    const qint64 size = qMin<qint64>(m_input.size(), m_storedLeft);
    if (m_device.read(m_input.data(), size) != size)
        return false;
    m_storedLeft -= size;
    m_isal->next_in = reinterpret_cast<uint8_t *>(m_input.data());
    m_isal->avail_in = uint32_t(size);
    return true;
#else
    return false;
#endif
}

// Starts zlib at the block's start and has it inflate again, and drop, the
// bytes delivered so far, so that it meets a failure where it lies.
bool PayloadStream::fallBackToZlib()
{
    const qint64 delivered = m_expected - m_dataLeft;
    m_isal.reset();
    if (!m_device.seek(m_blockStart))
        return readFailed();
    m_storedLeft = m_storedSize;
    if (!startZlib())
        return false;
    QByteArray scratch(qMin<qint64>(delivered, InputChunkSize), Qt::Uninitialized);
    const qint64 dataLeft = m_dataLeft;
    m_dataLeft = m_expected;
    while (m_dataLeft > dataLeft) {
        const qint64 got
                = inflateInto(scratch.data(), qMin<qint64>(scratch.size(), m_dataLeft - dataLeft));
        if (got < 0)
            return false;
        m_dataLeft -= got;
    }
    return true;
}
