#include "FolderScan.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "platform/AccessRights.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

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

void ScanFolder(InstallContext &context, const QString &folder, bool recursive)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    advanceScanProgress(context);
    if (!canList(context, folder))
        return;

    KindLists &lists = context.currentLists();
    const DataKind kind = context.currentKind();
    // No sorting: the listing order is kept, as the file system gives it.
    QDirIterator it(prefix, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        context.ui.processEvents();
        const QFileInfo info = it.fileInfo();
        if (info.fileName().startsWith(u'.') || isLink(info))
            continue;
        const QString path = prefix + info.fileName();
        if (info.isDir()) {
            lists.sourceFolders.append(path);
            if (recursive)
                ScanFolder(context, path, recursive);
        } else if (IsPackedFileOf(kind, path)) {
            lists.sourceFiles.append(path);
        }
    }
}
