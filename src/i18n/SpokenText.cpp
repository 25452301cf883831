#include "SpokenText.h"

#include <QRegularExpression>

namespace {

// Two blanks or more (or a tab) before a key sequence at the end set off a
// shortcut column; other runs of blanks are only padding.
QRegularExpressionMatch shortcutGap(const QString &caption)
{
    static const QRegularExpression gap(QStringLiteral(
            "(?<=\\S)( "
            "{2,}|\\t)(?=(?:(?:Ctrl|Alt|Shift|Meta)\\+)*(?:F\\d{1,2}|(?<=\\+)\\S+)\\s*$)"));
    return gap.match(caption);
}

QString withoutAccessKey(const QString &caption)
{
    // The CJK form keeps the key in brackets after the word: "닫기(&C)".
    static const QRegularExpression bracketed(QStringLiteral("\\s*[(（]&[^&][)）]"));
    QString text = caption;
    text.remove(bracketed);
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i; // "&&" stands for "&", "&Y" for "Y"
        plain += text.at(i);
    }
    return plain;
}

} // namespace

QString SpokenText(const QString &caption)
{
    QString text = caption;
    // The language files may write a line break as the two characters "\n".
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    if (const QRegularExpressionMatch gap = shortcutGap(text); gap.hasMatch())
        text.truncate(gap.capturedStart());
    text = withoutAccessKey(text).simplified();
    while (text.endsWith(u':'))
        text = text.chopped(1).trimmed();
    return text;
}

QString ShortcutColumn(const QString &caption)
{
    const QRegularExpressionMatch gap = shortcutGap(caption);
    return gap.hasMatch() ? caption.mid(gap.capturedEnd()).trimmed() : QString();
}
