#include "FolderScan.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/NameRefusal.h"
#include "platform/AccessRights.h"
#include "platform/FolderListing.h"

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

// A folder, or a packed file of the kind, that is neither hidden (a leading
// dot, or Windows's attribute) nor a link.
bool isInstalled(DataKind kind, const QFileInfo &info)
{
    if (info.fileName().startsWith(u'.') || info.isHidden() || isLink(info))
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
void unreadable(InstallContext &context, const QString &folder, bool found)
{
    const int text
            = found ? InstallText::SourceFolderUnreadable : InstallText::SourceFolderNotFound;
    ++context.currentLists().unreadFolders;
    context.reportLine(context.currentKind(), context.text(text) + NativePath(folder));
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
    const bool found = QFileInfo(folder).isDir();
    QStringList names;
    QString error;
    // A listing cut short would install part of the folder without a word.
    if (!found || !MayList(folder) || ListFolder(folder, &names, &error) != Listing::Listed) {
        unreadable(context, folder, found);
        return std::nullopt;
    }
    OpenFolder open{folder.endsWith(u'/') ? folder : folder + u'/', {}, 0};
    // No sorting: the listing order is kept, as the file system gives it.
    for (const QString &name : std::as_const(names)) {
        const QFileInfo info(open.prefix + name);
        // Where names keep Windows's rules, the system cannot look at some
        // ("lpt1", "Coats."): they are refused below by their names. Any other
        // entry listed that cannot be looked at is named.
        const bool refusedByName = context.windowsNames && SeenOnlyByName(info);
        if (refusedByName || isInstalled(context.currentKind(), info))
            open.entries.append(info);
        else if (!info.exists() && !info.isSymLink())
            unreadable(context, info.filePath(), true);
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
