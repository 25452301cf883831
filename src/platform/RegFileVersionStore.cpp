#include "RegFileVersionStore.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringTokenizer>

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

// Where a value is held: a line break cannot be part of a key or a value name.
QString valueKey(const QString &lowerKeyPath, const QString &valueName)
{
    return lowerKeyPath + u'\n' + valueName.toLower();
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

QString decode(const QByteArray &data)
{
    const auto bom = QStringConverter::encodingForData(data);
    QStringDecoder decoder(bom.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(data);
    text.remove(u'\r');
    return text;
}

} // namespace

bool RegFileVersionStore::load(const QString &filePath)
{
    m_filePath = filePath;
    clear();
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot read the registry export %1: %2")
                          .arg(QDir::toNativeSeparators(filePath), file.errorString());
        return false;
    }
    // One byte past the limit tells a file that is too large, also one that
    // grows or whose size is not known before reading (a pipe or a device).
    // The buffer is sized by the file where its size is known.
    const bool sized = !file.isSequential();
    const bool tooLarge = sized && file.size() > MaxFileSize;
    const QByteArray data
            = tooLarge ? QByteArray() : file.read((sized ? file.size() : MaxFileSize) + 1);
    if (tooLarge || data.size() > MaxFileSize) {
        m_error = QStringLiteral("The registry export %1 is not read: it is larger than %2 MB, "
                                 "far more than the keys of installed versions take")
                          .arg(QDir::toNativeSeparators(filePath))
                          .arg(MaxFileSize / (1024 * 1024));
        return false;
    }
    return loadData(data);
}

bool RegFileVersionStore::loadData(const QByteArray &data)
{
    clear();
    const QString text = decode(data);
    const qsizetype firstEnd = text.indexOf(u'\n');
    if (!isHeaderLine(QStringView(text).left(firstEnd).trimmed())) {
        m_error = QStringLiteral("%1 is not a registry export file: its first line is not "
                                 "\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"")
                          .arg(QDir::toNativeSeparators(m_filePath));
        return false;
    }
    if (firstEnd >= 0)
        parseLines(QStringView(text).mid(firstEnd + 1));
    return true;
}

void RegFileVersionStore::clear()
{
    m_error.clear();
    m_versions.clear();
    m_versionSet.clear();
    m_values.clear();
    m_currentKey.clear();
}

// Line by line in one pass; the lines are views into the text, not copies.
void RegFileVersionStore::parseLines(QStringView text)
{
    const QString appPath = applicationKeyPath();
    m_appParts = ::keyParts(appPath);
    bool continued = false; // the line before was a value going on over the next line
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        line = line.trimmed();
        if (continued)
            continued = line.endsWith(u'\\');
        else if (line.startsWith(u'['))
            openKey(line, appPath);
        else if (line.startsWith(u'"') || line.startsWith(u'@'))
            continued = parseValue(line);
    }
}

void RegFileVersionStore::openKey(QStringView header, const QString &appPath)
{
    const qsizetype close = header.lastIndexOf(u']');
    const QStringView path = header.mid(1, close > 0 ? close - 1 : header.size() - 1);
    m_currentKey.clear();
    // "[-KEY]" deletes a key on import: it describes nothing installed.
    if (path.startsWith(u'-'))
        return;
    const QStringList parts = keyParts(path);
    const QString lowerPath = parts.join(u'\\').toLower();
    // Only the application's keys are kept: an export of a whole machine
    // then costs little more memory than its text.
    if (lowerPath.startsWith(appPath) && lowerPath.size() > appPath.size()
        && lowerPath.at(appPath.size()) == u'\\')
        m_currentKey = lowerPath;
    noteVersion(parts);
}

// A key below the application's key names a version, even when the export
// has no header of its own for the version's key.
void RegFileVersionStore::noteVersion(const QStringList &keyParts)
{
    if (keyParts.size() <= m_appParts.size())
        return;
    for (qsizetype i = 0; i < m_appParts.size(); ++i) {
        if (keyParts.at(i).compare(m_appParts.at(i), Qt::CaseInsensitive) != 0)
            return;
    }
    const QString &name = keyParts.at(m_appParts.size());
    // The set makes a version's later keys cost one look-up, not a pass over the list.
    const QString folded = name.toCaseFolded();
    if (m_versionSet.contains(folded))
        return;
    m_versionSet.insert(folded);
    m_versions.append(name); // spelt as first written
}

// Reads a value line; true when the value goes on over the next line (hex
// and dword values may, with a "\\" at the end of the line).
bool RegFileVersionStore::parseValue(QStringView line)
{
    QString name; // empty for "@", the key's default value
    qsizetype pos = 1;
    if (line.startsWith(u'"')) {
        pos = 0;
        if (!readQuoted(line, &pos, &name))
            return false; // a damaged line is skipped
    }
    const QStringView rest = line.mid(pos).trimmed();
    if (!rest.startsWith(u'='))
        return false;
    const QStringView data = rest.mid(1).trimmed();
    if (data.startsWith(u'"')) {
        QString value;
        qsizetype vpos = 0;
        if (!m_currentKey.isEmpty() && readQuoted(data, &vpos, &value))
            m_values.insert(valueKey(m_currentKey, name), value);
        return false;
    }
    if (!m_currentKey.isEmpty() && data == u"-")
        m_values.remove(valueKey(m_currentKey, name));
    return line.endsWith(u'\\');
}

QStringList RegFileVersionStore::versionNames() const
{
    return m_versions;
}

QString RegFileVersionStore::defaultDir(const QString &version) const
{
    const QString key
            = applicationKeyPath() + u'\\' + normalizedKey(version) + QStringLiteral("\\directory");
    return RegistryPathToQt(m_values.value(valueKey(key, QStringLiteral("defaultdir"))));
}

QString RegFileVersionStore::location() const
{
    return QDir::toNativeSeparators(m_filePath);
}

QString RegFileVersionStore::errorString() const
{
    return m_error;
}
