#pragma once

#include "platform/VersionStore.h"

#include <QHash>
#include <QSet>

// The installed versions as a registry export file describes them: the format
// the Windows registry editor writes ("Windows Registry Editor Version 5.00"
// or "REGEDIT4" on the first line; UTF-16LE with a byte-order mark, or UTF-8).
// Only key headers and string values are read; key and value names compare
// without regard to case, and versions are listed in the order their keys
// first appear. Used wherever there is no registry, and for --registry.
class RegFileVersionStore : public VersionStore
{
public:
    // Larger exports are refused unread; the application's keys take a few
    // hundred bytes per version.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Reads the whole file. On failure (a missing or unreadable file, one
    // larger than MaxFileSize, one that is no export) the store is empty and
    // errorString() names the file (native form) and the reason.
    [[nodiscard]] bool load(const QString &filePath);

    // Reads an export held in memory; location() stays as it was.
    [[nodiscard]] bool loadData(const QByteArray &data);

    QStringList versionNames() const override;
    QString defaultDir(const QString &version) const override;
    QString location() const override;
    QString errorString() const override;

private:
    void clear();
    void parseLines(QStringView text);
    void openKey(QStringView header, const QString &appPath);
    bool parseValue(QStringView line);
    void noteVersion(const QStringList &keyParts);

    QString m_filePath;
    QString m_error;
    QStringList m_versions;
    QSet<QString> m_versionSet; // m_versions case-folded
    QStringList m_appParts;     // the application's key, part by part
    // The string values of the application's keys, by lower-case key path
    // (single "\" separators), line break, lower-case value name. One flat
    // table: a table per key would cost a few KB for each version.
    QHash<QString, QString> m_values;
    QString m_currentKey; // the key whose values are being read; empty when skipped
};
