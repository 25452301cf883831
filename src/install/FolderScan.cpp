#include "FolderScan.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/NameRefusal.h"
#include "platform/AccessRights.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

const QStringList &AcceptedSuffixes(DataKind kind)
{
    static const QStringList sty{QStringLiteral(".sty_")};
    static const QStringList sti{QStringLiteral(".sti_")};
    static const QStringList detail{QStringLiteral(".sty_"), QStringLiteral(".tfc_"),
                                    QStringLiteral(".tex_")};
    switch (kind) {
    case DataKind::STY:
        return sty;
    case DataKind::STI:
        return sti;
    case DataKind::DETAIL:
        break;
    }
    return detail;
}

bool IsPackedFileOf(DataKind kind, const QString &path)
{
    return AcceptedSuffixes(kind).contains(path.right(5).toLower());
}

namespace {

bool isLink(const QFileInfo &info)
{
    return info.isSymbolicLink() || info.isJunction() || info.isShortcut();
}

// A folder, or a packed file of the kind, that is neither hidden nor a link.
bool isInstalled(DataKind kind, const QFileInfo &info)
{
    if (info.fileName().startsWith(u'.') || isLink(info))
        return false;
    return info.isDir() || IsPackedFileOf(kind, info.fileName());
}

void advanceScanProgress(InstallContext &context)
{
    context.scanProgress += 0.5f;
    // A large tree would otherwise push the bar past its end.
    context.ui.setProgressBar(std::min(100, static_cast<int>(context.scanProgress)));
}

// A folder that is missing or cannot be listed would contribute nothing
// without a word; it gets a status line and counts against the kind.
bool canList(InstallContext &context, const QString &folder)
{
    const bool found = QFileInfo(folder).isDir();
    if (found && MayList(folder))
        return true;
    const int text
            = found ? InstallText::SourceFolderUnreadable : InstallText::SourceFolderNotFound;
    ++context.currentLists().unreadFolders;
    context.reportLine(context.currentKind(), context.text(text) + NativePath(folder));
    return false;
}

} // namespace

namespace {

// One folder being walked: its entries, read at once so that no folder stays
// open while its subfolders are walked, and the next one to look at.
struct OpenFolder
{
    QString prefix;
    QFileInfoList entries;
    qsizetype next = 0;
};

// Visits folder as the scan of a folder begins: the progress moves, and a
// folder that cannot be listed gets its line. Nothing when it gives nothing.
std::optional<OpenFolder> enter(InstallContext &context, const QString &folder)
{
    advanceScanProgress(context);
    if (!canList(context, folder))
        return std::nullopt;
    OpenFolder open{folder.endsWith(u'/') ? folder : folder + u'/', {}, 0};
    // No sorting: the listing order is kept, as the file system gives it.
    // Where names keep Windows's rules, Qt lists an entry the system cannot
    // look at ("lpt1", "Coats.") only among the system entries.
    const QDir::Filters system = context.windowsNames ? QDir::System : QDir::Filters();
    QDirIterator it(open.prefix, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | system);
    while (it.hasNext()) {
        it.next();
        if (isInstalled(context.currentKind(), it.fileInfo()) || SeenOnlyByName(it.fileInfo()))
            open.entries.append(it.fileInfo());
    }
    RefuseWindowsNames(context, open.entries);
    return open;
}

} // namespace

void ScanFolder(InstallContext &context, const QString &folder, bool recursive)
{
    KindLists &lists = context.currentLists();
    // A stack of folders instead of a call per level, so that a tree
    // thousands of levels deep cannot overflow the stack; the order is the
    // same: a folder, then its contents, before the next entry of its parent.
    std::vector<OpenFolder> stack;
    if (auto first = enter(context, folder))
        stack.push_back(std::move(*first));
    while (!stack.empty()) {
        OpenFolder &top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        const QFileInfo info = top.entries.at(top.next++);
        context.ui.processEvents();
        const QString path = top.prefix + info.fileName();
        if (!info.isDir()) {
            lists.sourceFiles.append(path);
            continue;
        }
        lists.sourceFolders.append(path);
        if (!recursive)
            continue;
        if (auto sub = enter(context, path))
            stack.push_back(std::move(*sub));
    }
}
