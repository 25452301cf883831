#include "WindowsNames.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

bool isForbidden(QChar c)
{
    switch (c.unicode()) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
    case u'\\':
    case u'/':
        return true;
    default:
        return c.unicode() < 0x20;
    }
}

// "CON", "com1", "Lpt1" and the like: the part before the first dot, less
// the blanks Windows drops before it.
bool isDeviceName(QStringView name)
{
    QStringView base = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    while (base.endsWith(u' '))
        base.chop(1);
    if (base.size() == 3) {
        for (const char16_t *device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
            if (base.compare(QStringView(device), Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
    if (base.size() != 4)
        return false;
    const QStringView stem = base.left(3);
    const char16_t digit = base.at(3).unicode();
    const bool port = stem.compare(u"COM", Qt::CaseInsensitive) == 0
                      || stem.compare(u"LPT", Qt::CaseInsensitive) == 0;
    // Windows also takes the superscript digits one to three for ports.
    return port
           && ((digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2'
               || digit == u'\u00B3');
}

} // namespace

WindowsNameRule WindowsNameRuleOf(QStringView name)
{
    for (QChar c : name) {
        if (isForbidden(c))
            return WindowsNameRule::ForbiddenCharacter;
    }
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return WindowsNameRule::EndsInDotOrSpace;
    if (isDeviceName(name))
        return WindowsNameRule::DeviceName;
    return WindowsNameRule::Allowed;
}

QString WindowsNameKey(QStringView name)
{
    // Simple upper case per unit, as the file system compares: "ß" stays
    // itself rather than becoming "SS".
    QString key(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        key[i] = QChar(QChar::toUpper(name.at(i).unicode()));
    return key;
}

QList<WindowsNameProblem> WindowsNameProblems(const QStringList &names)
{
    QList<WindowsNameProblem> problems;
    QHash<QString, qsizetype> first; // key -> index of the first name with it
    QList<qsizetype> clash(names.size(), -1);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString key = WindowsNameKey(names.at(i));
        const auto earlier = first.constFind(key);
        if (earlier == first.cend()) {
            first.insert(key, i);
            continue;
        }
        clash[i] = *earlier;
        if (clash[*earlier] < 0)
            clash[*earlier] = i;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        const WindowsNameRule rule = WindowsNameRuleOf(names.at(i));
        if (rule != WindowsNameRule::Allowed)
            problems.append({i, rule, {}});
        else if (clash[i] >= 0)
            problems.append({i, WindowsNameRule::CaseOnly, names.at(clash[i])});
    }
    return problems;
}

QString WindowsNameRuleText(WindowsNameRule rule, const QString &other)
{
    switch (rule) {
    case WindowsNameRule::Allowed:
        break;
    case WindowsNameRule::DeviceName:
        return u"it is the name of a device on Windows (CON, PRN, AUX, NUL, COM1 to COM9, "
               "LPT1 to LPT9, with any extension)"_s;
    case WindowsNameRule::EndsInDotOrSpace:
        return u"it ends in a dot or a space, which Windows drops"_s;
    case WindowsNameRule::ForbiddenCharacter:
        return u"it holds a character that Windows does not allow in names "
               "(< > : \" | ? * \\ or a control character)"_s;
    case WindowsNameRule::CaseOnly:
        return u"it differs only in letter case from \"%1\", which Windows takes for the same "
               "name"_s.arg(other);
    }
    return {};
}

bool SystemKeepsWindowsNames()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}
