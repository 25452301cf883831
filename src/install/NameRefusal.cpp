#include "NameRefusal.h"

#include "i18n/TextNumbers.h"
#include "install/DestinationMapper.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "package/PackageKind.h"
#include "platform/WindowsNames.h"
#include "selection/WizardState.h"

#include <QDir>

namespace {

QString ruleText(const InstallContext &context, const WindowsNameProblem &problem)
{
    switch (problem.rule) {
    case WindowsNameRule::Allowed:
        break;
    case WindowsNameRule::DeviceName:
        return context.text(InstallText::NameIsDevice);
    case WindowsNameRule::EndsInDotOrSpace:
        return context.text(InstallText::NameEndsInDotOrSpace);
    case WindowsNameRule::ForbiddenCharacter:
        return context.text(InstallText::NameHasForbiddenCharacter);
    case WindowsNameRule::CaseOnly:
        return context.text(InstallText::NameDiffersOnlyInCase) + problem.other;
    }
    return {};
}

// The entry's place in the destination, where it would have gone.
QString destinationOf(InstallContext &context, const QString &sourcePath)
{
    const KindState &kind = context.state.kind(context.currentKind());
    return MapToDestination(sourcePath, kind.sourceFolder, kind.destination);
}

void refuse(InstallContext &context, const QString &sourcePath, bool folder,
            const WindowsNameProblem &problem)
{
    const FileFailure failure{FailureReason::NameNotAllowed, ruleText(context, problem)};
    KindLists &lists = context.currentLists();
    const QString destination = destinationOf(context, sourcePath);
    if (folder) {
        // What it holds is not known: it counts as a folder that could not be read.
        ++lists.unreadFolders;
        context.reportLine(
                context.currentKind(),
                FailureLine(context, InstallText::FolderNotInstalled, destination, failure));
        return;
    }
    const QString installed = InstalledName(destination);
    lists.refusedFiles.append(FileOutcome::failed(installed, failure));
    context.reportLine(context.currentKind(),
                       FailureLine(context, InstallText::FileNotInstalled, installed, failure));
}

} // namespace

bool SeenOnlyByName(const QFileInfo &entry)
{
    return !entry.isDir() && !entry.isFile() && !entry.fileName().startsWith(u'.')
           && WindowsNameRuleOf(entry.fileName()) != WindowsNameRule::Allowed;
}

void RefuseWindowsNames(InstallContext &context, QFileInfoList &entries)
{
    if (!context.windowsNames || entries.isEmpty())
        return;
    // Files by the names they are installed under.
    QStringList names;
    names.reserve(entries.size());
    for (const QFileInfo &entry : std::as_const(entries))
        names.append(entry.isFile() ? InstalledName(entry.fileName()) : entry.fileName());
    const QList<WindowsNameProblem> problems = WindowsNameProblems(names);
    // Backwards, so that each index still names its entry.
    for (auto it = problems.crbegin(); it != problems.crend(); ++it) {
        const QFileInfo &entry = entries.at(it->index);
        const bool folder
                = entry.isDir() || (!entry.isFile() && !PackageKindForPath(entry.fileName()));
        refuse(context, entry.filePath(), folder, *it);
        entries.removeAt(it->index);
    }
}

bool AcceptChosenFolder(InstallContext &context, const QString &folder)
{
    if (!context.windowsNames)
        return true;
    // Judged among the folders beside it, as the scan of their parent would
    // judge it: whether or not those were chosen too.
    const QFileInfo info(folder);
    QStringList names{info.fileName()};
    const QStringList siblings = QDir(info.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : siblings) {
        if (name != names.first())
            names.append(name);
    }
    const QList<WindowsNameProblem> problems = WindowsNameProblems(names);
    if (problems.isEmpty() || problems.first().index != 0)
        return true;
    refuse(context, folder, true, problems.first());
    return false;
}
