// Run journals as the recovery finds them in the per-user folder, written by
// a run of ours, cut short by a kill, or put there by anyone: the records read
// and the rules that decide whether any of them is acted on.
//
// Promises checked: the records read write back to bytes that read as the
// same records; a journal the rules trust names every step's path absolutely,
// never climbing up with "..", below or on the way to a root named before the
// first step, and never the root of a volume.

#include "FuzzSupport.h"

#include "install/journal/JournalRecord.h"
#include "install/journal/RecordTrust.h"

#include <QDir>

namespace {

using Type = JournalRecord::Type;

void checkRoundTrip(const QList<JournalRecord> &records, const QString &language)
{
    QByteArray bytes = JournalHeader(language);
    for (const JournalRecord &record : records)
        bytes += EncodeRecord(record);
    QList<JournalRecord> again;
    QString languageAgain;
    Fuzz::require(DecodeJournal(bytes, &again, &languageAgain), "what was read reads again");
    Fuzz::require(again == records && languageAgain == language,
                  "the records read write back to the same records");
}

bool below(const QString &path, const QString &folder)
{
    const QString base = QDir::cleanPath(folder);
    return QDir::cleanPath(path).startsWith(base.endsWith(u'/') ? base : base + u'/');
}

bool within(const QString &path, const QStringList &roots)
{
    for (const QString &root : roots) {
        if (QDir::cleanPath(path) == QDir::cleanPath(root) || below(path, root)
            || below(root, path))
            return true;
    }
    return false;
}

void checkTrusted(const QList<JournalRecord> &records)
{
    QStringList roots;
    for (const JournalRecord &record : records) {
        if (record.type == Type::Root) {
            roots.append(record.path);
            continue;
        }
        if (record.type != Type::Folder && record.type != Type::Temp && record.type != Type::New
            && record.type != Type::Aside)
            continue;
        Fuzz::require(QDir::isAbsolutePath(record.path)
                              && !record.path.split(u'/').contains(QStringLiteral("..")),
                      "a trusted step names an absolute path that does not climb up");
        Fuzz::require(within(record.path, roots),
                      "a trusted step lies below or on the way to a root named before it");
        Fuzz::require(!QDir(QDir::cleanPath(record.path)).isRoot(),
                      "a trusted step is never the root of a volume");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<JournalRecord> records;
    QString language;
    if (!DecodeJournal(Fuzz::bytes(data, size), &records, &language))
        return 0;
    checkRoundTrip(records, language);
    if (!UntrustedRecordPath(records))
        checkTrusted(records);
    return 0;
}
