#include "JournalRecord.h"

#include <array>

namespace {

constexpr std::array<const char *, 8> Tags{"root",  "folder", "temp", "new",
                                           "aside", "undone", "keep", "done"};
const QByteArray Magic = QByteArrayLiteral("quillon-journal 1");
// Kept readable in the file; everything else that could end a field is encoded.
const QByteArray Readable = QByteArrayLiteral("/\\:()");

QByteArray encode(const QString &path)
{
    return path.toUtf8().toPercentEncoding(Readable);
}

QString decode(const QByteArray &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

bool decodeLine(const QByteArray &line, JournalRecord *record)
{
    const QList<QByteArray> fields = line.split(' ');
    for (std::size_t i = 0; i < Tags.size(); ++i) {
        if (fields.first() != Tags[i])
            continue;
        record->type = JournalRecord::Type(i);
        const qsizetype wanted = record->type == JournalRecord::Type::Done    ? 1
                                 : record->type == JournalRecord::Type::Aside ? 3
                                                                              : 2;
        if (fields.size() != wanted)
            return false;
        record->path = wanted > 1 ? decode(fields.at(1)) : QString();
        record->backup = wanted > 2 ? decode(fields.at(2)) : QString();
        return true;
    }
    return false;
}

} // namespace

QByteArray JournalHeader(const QString &language)
{
    return Magic + ' ' + encode(language) + '\n';
}

QByteArray EncodeRecord(const JournalRecord &record)
{
    QByteArray line = Tags[std::size_t(record.type)];
    if (record.type != JournalRecord::Type::Done)
        line += ' ' + encode(record.path);
    if (record.type == JournalRecord::Type::Aside)
        line += ' ' + encode(record.backup);
    return line + '\n';
}

bool DecodeJournal(const QByteArray &bytes, QList<JournalRecord> *records, QString *language)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // empty after the last line feed, else a line cut short
    if (lines.isEmpty() || !lines.first().startsWith(Magic + ' '))
        return false;
    *language = decode(lines.first().mid(Magic.size() + 1));
    records->clear();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        JournalRecord record;
        if (decodeLine(lines.at(i), &record))
            records->append(record);
    }
    return true;
}
