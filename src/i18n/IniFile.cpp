#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

QString decode(const QByteArray &data)
{
    // Only a UTF-16 byte-order mark switches away from UTF-8; the decoder
    // drops a UTF-8 byte-order mark by itself.
    const auto bom = QStringConverter::encodingForData(data);
    QStringDecoder decoder(bom.value_or(QStringConverter::Utf8));
    return decoder.decode(data);
}

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return value.toString();
}

} // namespace

IniFile IniFile::load(const QString &path, QString *error)
{
    QFile file(path);
    QByteArray data;
    QString reason;
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (!readBounded(file, path, &data, &reason)) {
        if (error)
            *error = reason;
        return {};
    }
    return fromData(data);
}

bool IniFile::readBounded(QIODevice &file, const QString &path, QByteArray *data, QString *error)
{
    // One byte past the limit tells a file that is too large, also one that
    // grows or whose size is not known before reading (a pipe or a device).
    // The buffer is sized by the file where its size is known.
    const bool sized = !file.isSequential();
    const bool tooLarge = sized && file.size() > MaxFileSize;
    *data = tooLarge ? QByteArray() : file.read((sized ? file.size() : MaxFileSize) + 1);
    if (!tooLarge && data->size() <= MaxFileSize)
        return true;
    data->clear();
    *error = QStringLiteral("The file %1 is not read: it is larger than %2 MB")
                     .arg(QDir::toNativeSeparators(path))
                     .arg(MaxFileSize / (1024 * 1024));
    return false;
}

IniFile IniFile::fromData(const QByteArray &data)
{
    IniFile ini;
    const QString text = decode(data);
    Section *current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n'))
        ini.parseLine(line.trimmed(), current);
    return ini;
}

void IniFile::parseLine(QStringView line, Section *&current)
{
    if (line.isEmpty() || line.startsWith(u';'))
        return;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        if (close < 0)
            return;
        const QString name = line.mid(1, close - 1).trimmed().toString().toLower();
        current = &m_sections[name]; // a repeated section adds to the first
        return;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (!current || eq < 0)
        return;
    const QString key = line.left(eq).trimmed().toString();
    const QString lowerKey = key.toLower();
    if (key.isEmpty() || current->values.contains(lowerKey))
        return; // the first occurrence of a key wins
    current->values.insert(lowerKey, unquoted(line.mid(eq + 1).trimmed()));
    current->keyOrder.append(key);
}

bool IniFile::hasSection(const QString &section) const
{
    return m_sections.contains(section.toLower());
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const auto s = m_sections.constFind(section.toLower());
    if (s == m_sections.cend())
        return defaultValue;
    const auto v = s->values.constFind(key.toLower());
    return v == s->values.cend() ? defaultValue : *v;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = readString(section, key).trimmed();
    bool ok = false;
    int value = 0;
    if (text.startsWith(u'$'))
        value = text.mid(1).toInt(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

QStringList IniFile::keys(const QString &section) const
{
    const auto s = m_sections.constFind(section.toLower());
    return s == m_sections.cend() ? QStringList() : s->keyOrder;
}
