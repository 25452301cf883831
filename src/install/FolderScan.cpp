#include "FolderScan.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "package/EntryType.h"
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

// Hidden as the system counts it (a leading dot, or Windows' attribute), and
// shortcuts, which Windows' own listings show as links.
bool isHidden(const QString &path)
{
    const QFileInfo info(path);
    return info.fileName().startsWith(u'.') || info.isHidden() || info.isShortcut();
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
    struct Entry
    {
        QString name;
        bool folder = false; // else a plain file
    };
    QString prefix;
    QList<Entry> entries;
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
    // Each entry is looked at once: links, special files and hidden entries
    // are left out, and one listed but not found since could not be looked
    // at, so it is named.
    for (const QString &name : std::as_const(names)) {
        const QString path = open.prefix + name;
        const EntryType type = EntryTypeOf(path);
        if (type == EntryType::Missing)
            unreadable(context, path, true);
        else if ((type == EntryType::Folder || type == EntryType::File) && !isHidden(path))
            open.entries.append({name, type == EntryType::Folder});
    }
    return open;
}

} // namespace

void ScanFolder(InstallContext &context, const QString &folder, bool recursive)
{
    KindLists &lists = context.currentLists();
    const DataKind kind = context.currentKind();
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
        const OpenFolder::Entry entry = top.entries.at(top.next++);
        context.ui.processEvents();
        const QString path = top.prefix + entry.name;
        if (entry.folder) {
            lists.sourceFolders.append(path);
            if (!recursive)
                continue;
            if (auto sub = enter(context, path))
                stack.push_back(std::move(*sub));
        } else if (IsPackedFileOf(kind, path)) {
            lists.sourceFiles.append(path);
        }
    }
}
