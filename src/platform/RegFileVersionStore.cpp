#include "RegFileVersionStore.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

// The non-empty parts of a key path, so that "[HKEY_LOCAL_MACHINE\Software\\Kestrel\]"
// names the same key as "[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel]".
QStringList keyParts(QStringView path)
{
    QStringList parts;
    for (QStringView part : path.split(u'\\', Qt::SkipEmptyParts))
        parts.append(part.toString());
    return parts;
}

QString normalizedKey(QStringView path)
{
    return keyParts(path).join(u'\\').toLower();
}

QString applicationKeyPath()
{
    return normalizedKey(ApplicationRegistryKey());
}

bool isHeaderLine(QStringView line)
{
    return line.compare(u"Windows Registry Editor Version 5.00", Qt::CaseInsensitive) == 0
           || line.compare(u"REGEDIT4", Qt::CaseInsensitive) == 0;
}

// Reads a quoted string starting at text[*pos] == '"' with the "\\" and "\""
// escapes; on success *pos is just after the closing quote.
bool readQuoted(QStringView text, qsizetype *pos, QString *out)
{
    out->clear();
    for (qsizetype i = *pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            *pos = i + 1;
            return true;
        }
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'\\' || text[i + 1] == u'"'))
            ++i;
        out->append(text[i]);
    }
    return false;
}

QStringList splitLines(const QByteArray &data)
{
    const auto bom = QStringConverter::encodingForData(data);
    QStringDecoder decoder(bom.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(data);
    text.remove(u'\r');
    return text.split(u'\n');
}

} // namespace

bool RegFileVersionStore::load(const QString &filePath)
{
    m_filePath = filePath;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        m_error = QStringLiteral("Cannot read the registry export %1: %2")
                          .arg(QDir::toNativeSeparators(filePath), file.errorString());
        return false;
    }
    return loadData(file.readAll());
}

bool RegFileVersionStore::loadData(const QByteArray &data)
{
    clear();
    const QStringList lines = splitLines(data);
    if (lines.isEmpty() || !isHeaderLine(QStringView(lines.first()).trimmed())) {
        m_error = QStringLiteral("%1 is not a registry export file: its first line is not "
                                 "\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"")
                          .arg(QDir::toNativeSeparators(m_filePath));
        return false;
    }
    parseLines(lines);
    return true;
}

void RegFileVersionStore::clear()
{
    m_error.clear();
    m_versions.clear();
    m_keys.clear();
    m_current = nullptr;
}

void RegFileVersionStore::parseLines(const QStringList &lines)
{
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = QStringView(lines.at(i)).trimmed();
        if (line.startsWith(u'['))
            openKey(line);
        else if (line.startsWith(u'"') || line.startsWith(u'@'))
            i = parseValue(lines, i);
    }
}

void RegFileVersionStore::openKey(QStringView header)
{
    const qsizetype close = header.lastIndexOf(u']');
    const QStringView path = header.mid(1, close > 0 ? close - 1 : header.size() - 1);
    // "[-KEY]" deletes a key on import: it describes nothing installed.
    if (path.startsWith(u'-')) {
        m_current = nullptr;
        return;
    }
    const QStringList parts = keyParts(path);
    m_current = &m_keys[parts.join(u'\\').toLower()];
    noteVersion(parts);
}

// A key below the application's key names a version, even when the export
// has no header of its own for the version's key.
void RegFileVersionStore::noteVersion(const QStringList &keyParts)
{
    const QStringList appParts = ::keyParts(ApplicationRegistryKey());
    if (keyParts.size() <= appParts.size())
        return;
    for (qsizetype i = 0; i < appParts.size(); ++i) {
        if (keyParts.at(i).compare(appParts.at(i), Qt::CaseInsensitive) != 0)
            return;
    }
    const QString &name = keyParts.at(appParts.size());
    if (!m_versions.contains(name, Qt::CaseInsensitive))
        m_versions.append(name); // spelt as first written
}

// Reads the value line at index (and the continuation lines of a long
// non-string value); returns the index of the last line used.
qsizetype RegFileVersionStore::parseValue(const QStringList &lines, qsizetype index)
{
    const QStringView line = QStringView(lines.at(index)).trimmed();
    QString name; // empty for "@", the key's default value
    qsizetype pos = 1;
    if (line.startsWith(u'"')) {
        pos = 0;
        if (!readQuoted(line, &pos, &name))
            return index; // a damaged line is skipped
    }
    const QStringView rest = line.mid(pos).trimmed();
    if (!rest.startsWith(u'='))
        return index;
    const QStringView data = rest.mid(1).trimmed();
    if (data.startsWith(u'"')) {
        QString value;
        qsizetype vpos = 0;
        if (m_current && readQuoted(data, &vpos, &value))
            m_current->insert(name.toLower(), value);
        return index;
    }
    if (m_current && data == u"-")
        m_current->remove(name.toLower());
    // hex and dword values may go on over lines ending in "\".
    while (index + 1 < lines.size() && QStringView(lines.at(index)).trimmed().endsWith(u'\\'))
        ++index;
    return index;
}

QStringList RegFileVersionStore::versionNames() const
{
    return m_versions;
}

QString RegFileVersionStore::defaultDir(const QString &version) const
{
    const QString key
            = applicationKeyPath() + u'\\' + normalizedKey(version) + QStringLiteral("\\directory");
    const auto values = m_keys.constFind(key);
    if (values == m_keys.cend())
        return {};
    return RegistryPathToQt(values->value(QStringLiteral("defaultdir")));
}

QString RegFileVersionStore::location() const
{
    return QDir::toNativeSeparators(m_filePath);
}

QString RegFileVersionStore::errorString() const
{
    return m_error;
}
