#pragma once

#include "platform/VersionStore.h"

#include <QHash>

// The installed versions as a registry export file describes them: the format
// the Windows registry editor writes ("Windows Registry Editor Version 5.00"
// or "REGEDIT4" on the first line; UTF-16LE with a byte-order mark, or UTF-8).
// Only key headers and string values are read; key and value names compare
// without regard to case, and versions are listed in the order their keys
// first appear. Used wherever there is no registry, and for --registry.
class RegFileVersionStore : public VersionStore
{
public:
    // Reads the whole file. On failure the store is empty and errorString()
    // names the file (native form) and the reason.
    [[nodiscard]] bool load(const QString &filePath);

    // Reads an export held in memory; location() stays as it was.
    [[nodiscard]] bool loadData(const QByteArray &data);

    QStringList versionNames() const override;
    QString defaultDir(const QString &version) const override;
    QString location() const override;
    QString errorString() const override;

private:
    using Values = QHash<QString, QString>; // by lower-case value name

    void clear();
    void parseLines(const QStringList &lines);
    void openKey(QStringView header);
    qsizetype parseValue(const QStringList &lines, qsizetype index);
    void noteVersion(const QStringList &keyParts);

    QString m_filePath;
    QString m_error;
    QStringList m_versions;
    QHash<QString, Values> m_keys; // by lower-case key path with single "\" separators
    Values *m_current = nullptr;   // the key whose values are being read; null when skipped
};
