#include "UnitTree.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// A node while the tree is being built, before it gets its pre-order index.
struct Draft
{
    QString text;
    QString folder;
    QList<Draft> children;
};

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The unit folders directly inside a folder, sorted by name. Links and
// junctions are neither shown nor followed: a loop would never end and a link
// could reach outside the data set. Hidden folders and names beginning with "."
// are no units. A folder that cannot be listed has no units.
QStringList subfolderNames(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo &entry : entries) {
        if (entry.fileName().startsWith(u'.') || entry.isSymLink() || entry.isJunction()
            || entry.isHidden())
            continue;
        names.append(entry.fileName());
    }
    return names;
}

QList<Draft> plainChildren(const QString &folder)
{
    QList<Draft> children;
    for (const QString &name : subfolderNames(folder))
        children.append({name, joinPath(folder, name), {}});
    return children;
}

bool isBottomName(const QString &name)
{
    return name == u"Pants" || name == u"Skirt";
}

// STY sorts a unit's garments into "Top", made with the first garment (so it
// always comes first, even when it stays empty), and "Bottom", made with the
// first "Pants" or "Skirt". Categories have no folder.
QList<Draft> styCategories(const QString &unitFolder)
{
    QList<Draft> categories;
    for (const QString &name : subfolderNames(unitFolder)) {
        if (categories.isEmpty())
            categories.append({QStringLiteral("Top"), {}, {}});
        const bool bottom = isBottomName(name);
        if (bottom && categories.size() == 1)
            categories.append({QStringLiteral("Bottom"), {}, {}});
        categories[bottom ? 1 : 0].children.append({name, joinPath(unitFolder, name), {}});
    }
    return categories;
}

Draft draftTree(DataKind kind, const QString &sourceFolder, const QString &folderName)
{
    Draft root{folderName, sourceFolder, plainChildren(sourceFolder)};
    for (Draft &unit : root.children) {
        if (kind == DataKind::STY)
            unit.children = styCategories(unit.folder);
        else if (kind == DataKind::STI)
            unit.children = plainChildren(unit.folder);
    }
    return root;
}

// Appends the draft and its descendants in pre-order.
void flatten(const Draft &draft, int parent, QList<UnitNode> *nodes)
{
    const int index = int(nodes->size());
    nodes->append(UnitNode{draft.text, draft.folder, UnitChecked, parent, {}});
    if (parent >= 0)
        (*nodes)[parent].children.append(index);
    for (const Draft &child : draft.children)
        flatten(child, index, nodes);
}

} // namespace

bool UnitTree::build(DataKind kind, const QString &sourceFolder, const QString &folderName)
{
    clear();
    if (!QFileInfo(sourceFolder).isDir()) {
        m_error = QStringLiteral("The %1 data folder %2 does not exist")
                          .arg(DataKindName(kind), QDir::toNativeSeparators(sourceFolder));
        return false;
    }
    flatten(draftTree(kind, sourceFolder, folderName), -1, &m_nodes);
    return true;
}

void UnitTree::clear()
{
    m_nodes.clear();
    m_error.clear();
}

int UnitTree::subtreeEnd(int index) const
{
    int last = index;
    while (!m_nodes.at(last).children.isEmpty())
        last = m_nodes.at(last).children.last();
    return last + 1;
}

void UnitTree::click(int index)
{
    setChecked(index, m_nodes.at(index).image != UnitChecked);
}

void UnitTree::setChecked(int index, bool checked)
{
    setImage(index, checked ? UnitChecked : UnitUnchecked);
    updateAncestors(index);
}

void UnitTree::setAllChecked(bool checked)
{
    if (!isEmpty())
        setImage(0, checked ? UnitChecked : UnitUnchecked);
}

// The node and its descendants, which follow it in pre-order.
void UnitTree::setImage(int index, int image)
{
    const int end = subtreeEnd(index);
    for (int i = index; i < end; ++i)
        m_nodes[i].image = image;
}

void UnitTree::updateAncestors(int index)
{
    for (int p = m_nodes.at(index).parent; p >= 0; p = m_nodes.at(p).parent) {
        bool all = true;
        bool any = false;
        for (int child : std::as_const(m_nodes.at(p).children)) {
            const int image = m_nodes.at(child).image;
            all = all && image == UnitChecked;
            any = any || image != UnitUnchecked;
        }
        m_nodes[p].image = all ? UnitChecked : (any ? UnitPartlyChecked : UnitUnchecked);
    }
}

bool UnitTree::hasCheckedUnit() const
{
    return std::any_of(m_nodes.cbegin(), m_nodes.cend(),
                       [](const UnitNode &n) { return n.image == UnitChecked; });
}

int UnitTree::findByFolder(const QString &relativePath) const
{
    QString relative = relativePath;
    relative.replace(u'\\', u'/');
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    if (isEmpty() || parts.isEmpty())
        return -1;
    const QString folder = joinPath(m_nodes.first().folder, parts.join(u'/'));
    for (int i = 1; i < nodeCount(); ++i) {
        if (!m_nodes.at(i).folder.isEmpty() && m_nodes.at(i).folder == folder)
            return i;
    }
    return -1;
}
