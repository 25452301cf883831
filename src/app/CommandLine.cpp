#include "CommandLine.h"

#include "i18n/Languages.h"
#include "platform/PlatformPaths.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

std::optional<DataKind> kindNamed(const QString &name)
{
    for (DataKind kind : AllDataKinds) {
        if (name.compare(DataKindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

QString absolute(const QString &path)
{
    return QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
}

struct Options
{
    QCommandLineOption lang{"lang",
                            "Opens in this language (Korean, English, Chinese, "
                            "Indonesian, Japanese, Taiwanese, Thai).",
                            "name"};
    QCommandLineOption dataset{"dataset", "The data set folder (default: the program's folder).",
                               "dir"};
    QCommandLineOption registry{"registry",
                                "A registry export file (.reg) listing the installed "
                                "Vestra versions.",
                                "file"};
    QCommandLineOption statusDir{"status-dir", "Where status files are saved.", "dir"};
    QCommandLineOption silent{"silent", "Installs without windows."};
    QCommandLineOption verify{"verify",
                              "Checks, without writing anything, that the installed data is "
                              "complete and identical to the data set."};
    QCommandLineOption repair{"repair",
                              "With --silent: installs only the files that are missing or "
                              "different, then checks."};
    QCommandLineOption report{"report", "Writes a JSON report of the run to this file.", "file"};
    QCommandLineOption kinds{"kinds",
                             "Kinds to install, e.g. STY,STI,DETAIL "
                             "(default: every kind of the data set).",
                             "list"};
    QCommandLineOption units{"units",
                             "A User install of these unit folders of a kind, "
                             "relative to its source folder.",
                             "KIND=REL[;REL...]"};
    QCommandLineOption dest{"dest", "A kind's destination folder.", "KIND=DIR"};
    QCommandLineOption overwrite{"overwrite",
                                 "The answer to every overwrite question: all, none "
                                 "or cancel (default: none).",
                                 "answer", "none"};
    QCommandLineOption saveStatus{"save-status",
                                  "Save the status files: yes or no "
                                  "(default: no).",
                                  "yes|no", "no"};
    QCommandLineOption wait{"wait",
                            "With --silent: how long to wait for another installation on this "
                            "computer to end before giving up (default: 600 seconds; 0: do not "
                            "wait).",
                            "seconds", "600"};
    QCommandLineOption recover{"recover", "With --silent: only undoes installations that were "
                                          "interrupted, then exits."};
};

class Parser
{
public:
    Parser(CommandLine &result) : m_result(result)
    {
        m_parser.setApplicationDescription(
                QStringLiteral("Installs garment style data into Vestra."));
        m_parser.addHelpOption();
        m_parser.addVersionOption();
        m_parser.addOptions({m_options.lang, m_options.dataset, m_options.registry,
                             m_options.statusDir, m_options.silent, m_options.verify,
                             m_options.repair, m_options.report, m_options.kinds, m_options.units,
                             m_options.dest, m_options.overwrite, m_options.saveStatus,
                             m_options.wait, m_options.recover});
    }

    bool parse(const QStringList &arguments, const QString &programFolder);

private:
    bool fail(const QString &error)
    {
        m_result.error = error;
        return false;
    }
    bool checkNamesGiven();
    bool takeLanguage();
    bool takeKinds();
    bool takeKindValues(const QCommandLineOption &option, bool units);
    bool takeAnswers();
    void takeModes();
    bool checkModes();

    QCommandLineParser m_parser;
    Options m_options;
    CommandLine &m_result;
};

bool Parser::parse(const QStringList &arguments, const QString &programFolder)
{
    m_result.helpText = m_parser.helpText();
    m_result.settings.programFolder = programFolder;
    const bool parsed = m_parser.parse(arguments);
    // Taken before anything can fail, so that a usage error is reported in
    // the report file it names.
    takeModes();
    if (!parsed)
        return fail(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help"))) {
        m_result.action = CommandLine::Action::Help;
        return true;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        m_result.action = CommandLine::Action::Version;
        return true;
    }
    if (!m_parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unexpected argument: ")
                    + m_parser.positionalArguments().first());

    if (!checkNamesGiven())
        return false;

    RunSettings &settings = m_result.settings;
    settings.dataSetFolder = m_parser.isSet(m_options.dataset)
                                     ? absolute(m_parser.value(m_options.dataset))
                                     : programFolder;
    if (m_parser.isSet(m_options.registry))
        settings.registryFile = absolute(m_parser.value(m_options.registry));
    settings.statusFolder = m_parser.isSet(m_options.statusDir)
                                    ? absolute(m_parser.value(m_options.statusDir))
                                    : DefaultStatusFolder();
    return takeLanguage() && takeKinds() && takeKindValues(m_options.units, true)
           && takeKindValues(m_options.dest, false) && takeAnswers() && checkModes();
}

void Parser::takeModes()
{
    m_result.silent = m_parser.isSet(m_options.silent);
    m_result.verify = m_parser.isSet(m_options.verify);
    m_result.repair = m_parser.isSet(m_options.repair);
    m_result.recoverOnly = m_parser.isSet(m_options.recover);
    if (!m_parser.value(m_options.report).isEmpty())
        m_result.reportFile = absolute(m_parser.value(m_options.report));
}

// Which options go together: the selection options need a run without
// windows; a check asks nothing and a repair answers its own questions.
bool Parser::checkModes()
{
    if (!m_result.unattended()) {
        for (const auto *option :
             {&m_options.kinds, &m_options.units, &m_options.dest, &m_options.overwrite,
              &m_options.saveStatus, &m_options.report, &m_options.wait}) {
            if (m_parser.isSet(*option))
                return fail(QStringLiteral("--%1 needs --silent or --verify")
                                    .arg(option->names().first()));
        }
    }
    if (m_result.repair && !m_result.silent)
        return fail(QStringLiteral("--repair needs --silent"));
    if (m_result.recoverOnly && (!m_result.silent || m_result.verify || m_result.repair))
        return fail(QStringLiteral("--recover needs --silent and goes alone: it only undoes an "
                                   "interrupted installation"));
    if (m_result.repair && m_result.verify)
        return fail(QStringLiteral("--repair checks by itself; give --verify or --repair"));
    const bool answers
            = m_parser.isSet(m_options.overwrite) || m_parser.isSet(m_options.saveStatus);
    if (m_result.verify && answers)
        return fail(QStringLiteral("--verify writes nothing: --overwrite and --save-status "
                                   "have no meaning with it"));
    if (m_result.verify && m_parser.isSet(m_options.wait))
        return fail(QStringLiteral("--verify does not wait for another installation: --wait "
                                   "has no meaning with it"));
    if (m_result.repair && m_parser.isSet(m_options.overwrite))
        return fail(QStringLiteral("--repair replaces the files that are different: --overwrite "
                                   "has no meaning with it"));
    return true;
}

// An empty name would quietly mean another place: the root for a folder, the
// platform's own store for --registry.
bool Parser::checkNamesGiven()
{
    for (const auto *option :
         {&m_options.dataset, &m_options.registry, &m_options.statusDir, &m_options.report}) {
        if (m_parser.isSet(*option) && m_parser.value(*option).isEmpty())
            return fail(QStringLiteral("--%1 expects a name, not an empty value")
                                .arg(option->names().first()));
    }
    return true;
}

bool Parser::takeLanguage()
{
    if (!m_parser.isSet(m_options.lang))
        return true;
    const QString name = m_parser.value(m_options.lang);
    for (const QString &language : LanguageNames()) {
        if (language.compare(name, Qt::CaseInsensitive) == 0) {
            m_result.language = language;
            return true;
        }
    }
    return fail(QStringLiteral("Unknown language: %1 (one of %2)")
                        .arg(name, LanguageNames().join(QStringLiteral(", "))));
}

bool Parser::takeKinds()
{
    for (const QString &value : m_parser.values(m_options.kinds)) {
        for (const QString &name : value.split(u',', Qt::SkipEmptyParts)) {
            const auto kind = kindNamed(name.trimmed());
            if (!kind)
                return fail(QStringLiteral("Unknown kind: ") + name);
            if (!m_result.kinds.contains(*kind))
                m_result.kinds.append(*kind);
        }
    }
    return true;
}

// --units and --dest: KIND=VALUE, once per kind.
bool Parser::takeKindValues(const QCommandLineOption &option, bool units)
{
    for (const QString &value : m_parser.values(option)) {
        const qsizetype eq = value.indexOf(u'=');
        const auto kind = eq > 0 ? kindNamed(value.left(eq).trimmed()) : std::nullopt;
        const QString rest = eq > 0 ? value.mid(eq + 1) : QString();
        const QString name = QStringLiteral("--") + option.names().first();
        if (!kind || rest.isEmpty())
            return fail(QStringLiteral("%1 expects KIND=VALUE, not: %2").arg(name, value));
        if (units ? m_result.units.contains(*kind) : m_result.destinations.contains(*kind))
            return fail(QStringLiteral("%1 is given twice for %2").arg(name, DataKindName(*kind)));
        if (units)
            m_result.units.insert(*kind, rest.split(u';', Qt::SkipEmptyParts));
        else
            m_result.destinations.insert(*kind, absolute(rest));
    }
    return true;
}

bool Parser::takeAnswers()
{
    const QString overwrite = m_parser.value(m_options.overwrite).toLower();
    if (overwrite == QLatin1String("all"))
        m_result.overwrite = OverwriteAnswer::All;
    else if (overwrite == QLatin1String("none"))
        m_result.overwrite = OverwriteAnswer::No;
    else if (overwrite == QLatin1String("cancel"))
        m_result.overwrite = OverwriteAnswer::Cancel;
    else
        return fail(QStringLiteral("--overwrite expects all, none or cancel, not: ") + overwrite);

    bool number = false;
    m_result.waitSeconds = m_parser.value(m_options.wait).toInt(&number);
    if (!number || m_result.waitSeconds < 0)
        return fail(QStringLiteral("--wait expects a number of seconds, not: ")
                    + m_parser.value(m_options.wait));

    const QString save = m_parser.value(m_options.saveStatus).toLower();
    if (save != QLatin1String("yes") && save != QLatin1String("no"))
        return fail(QStringLiteral("--save-status expects yes or no, not: ") + save);
    m_result.saveStatus = save == QLatin1String("yes");
    return true;
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments, const QString &programFolder)
{
    CommandLine result;
    if (!Parser(result).parse(arguments, programFolder))
        result.action = CommandLine::Action::UsageError;
    return result;
}
