#include "RecordTrust.h"

#include "install/journal/JournalRecord.h"
#include "package/InstalledFileWriter.h"
#include "package/PackageKind.h"

#include <QDir>
#include <QRegularExpression>

namespace {

using Type = JournalRecord::Type;

// Absolute, and never climbing up: doubled or trailing separators are fine.
bool isPlain(const QString &path)
{
    return QDir::isAbsolutePath(path) && !path.split(u'/').contains(QStringLiteral(".."));
}

bool isBelow(const QString &path, const QString &root)
{
    const QString base = QDir::cleanPath(root);
    return QDir::cleanPath(path).startsWith(base.endsWith(u'/') ? base : base + u'/');
}

bool isDataFile(const QString &path)
{
    return PackageKindForDataPath(path).has_value();
}

// The name NameBeside gives: path, a dot, six letters or digits, the suffix.
bool isBeside(const QString &name, const QString &path, QLatin1StringView suffix)
{
    static const QRegularExpression letters(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    return name.size() == path.size() + 7 + suffix.size() && name.startsWith(path)
           && name.endsWith(suffix) && letters.match(name.mid(path.size(), 7)).hasMatch();
}

class Rules
{
public:
    // The path that breaks the rules, or nothing.
    std::optional<QString> check(const JournalRecord &record);

private:
    bool belowRoot(const QString &path) const;
    bool onTheWayToRoot(const QString &folder) const;
    bool isTemporary(const QString &path) const;

    QStringList m_roots;
    bool m_stepSeen = false;
};

std::optional<QString> Rules::check(const JournalRecord &record)
{
    const auto refuse = [](const QString &path) { return std::optional<QString>(path); };
    switch (record.type) {
    case Type::Root:
        // The root of a volume would put everything below it.
        if (m_stepSeen || !isPlain(record.path) || QDir(QDir::cleanPath(record.path)).isRoot())
            return refuse(record.path);
        m_roots.append(record.path);
        return std::nullopt;
    case Type::Folder:
        // A run never makes the root of a volume, which could never go again.
        m_stepSeen = true;
        return isPlain(record.path) && !QDir(QDir::cleanPath(record.path)).isRoot()
                               && (belowRoot(record.path) || onTheWayToRoot(record.path))
                       ? std::nullopt
                       : refuse(record.path);
    case Type::Temp:
        m_stepSeen = true;
        return isTemporary(record.path) ? std::nullopt : refuse(record.path);
    case Type::New:
        m_stepSeen = true;
        return belowRoot(record.path) && isDataFile(record.path) ? std::nullopt
                                                                 : refuse(record.path);
    case Type::Aside: {
        m_stepSeen = true;
        const bool placed = isDataFile(record.path) || PackageKindForPath(record.path);
        if (!belowRoot(record.path) || !placed)
            return refuse(record.path);
        return isBeside(record.backup, record.path, InstalledFileWriter::BackupSuffix)
                       ? std::nullopt
                       : refuse(record.backup);
    }
    case Type::Undone: // these only ever keep recovery from acting
    case Type::Keep:
    case Type::Done:
        break;
    }
    return std::nullopt;
}

bool Rules::belowRoot(const QString &path) const
{
    if (!isPlain(path))
        return false;
    for (const QString &root : m_roots) {
        if (isBelow(path, root))
            return true;
    }
    return false;
}

bool Rules::onTheWayToRoot(const QString &folder) const
{
    for (const QString &root : m_roots) {
        if (QDir::cleanPath(folder) == QDir::cleanPath(root) || isBelow(root, folder))
            return true;
    }
    return false;
}

// A packed copy beside its installed name, or a temporary file beside one.
bool Rules::isTemporary(const QString &path) const
{
    if (!belowRoot(path))
        return false;
    if (PackageKindForPath(path))
        return true;
    const qsizetype cut = path.size() - InstalledFileWriter::TemporarySuffix.size() - 7;
    const QString installed = path.left(cut);
    return cut > 0 && isDataFile(installed)
           && isBeside(path, installed, InstalledFileWriter::TemporarySuffix);
}

} // namespace

std::optional<QString> UntrustedRecordPath(const QList<JournalRecord> &records)
{
    Rules rules;
    for (const JournalRecord &record : records) {
        if (const std::optional<QString> refused = rules.check(record))
            return refused;
    }
    return std::nullopt;
}
