#include "ui/notes/BookmarkTreeModel.h"

#include "data/TextFolding.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QMimeData>
#include <algorithm>

const QString BookmarkTreeModel::NoFolder = QStringLiteral("بدون پوشه");

BookmarkTreeModel::BookmarkTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
{
    build();
}

void BookmarkTreeModel::setEntries(std::vector<ReaderFolder> folders,
                                   std::vector<ReaderBookmark> bookmarks, Opening opening)
{
    beginResetModel();
    m_folders = std::move(folders);
    m_bookmarks = std::move(bookmarks);
    std::stable_sort(
        m_bookmarks.begin(), m_bookmarks.end(),
        [](const ReaderBookmark &a, const ReaderBookmark &b) { return a.ref < b.ref; });
    m_opening = std::move(opening);
    m_foldedBookmarks.clear();
    m_foldedFolders.clear();
    build();
    endResetModel();
}

void BookmarkTreeModel::setFilter(const QString &folded)
{
    if (folded == m_filter)
        return;
    beginResetModel();
    m_filter = folded;
    build();
    endResetModel();
}

QString BookmarkTreeModel::textOf(const ReaderBookmark &b) const
{
    QString words = b.title;
    if (words.isEmpty() && m_opening)
        words = m_opening(b.ref);
    return words.isEmpty() ? b.ref.label() : b.ref.label() + QStringLiteral(" — ") + words;
}

const QString &BookmarkTreeModel::foldedBookmark(int entry) const
{
    if (m_foldedBookmarks.empty()) {
        m_foldedBookmarks.reserve(m_bookmarks.size());
        for (const ReaderBookmark &b : m_bookmarks)
            m_foldedBookmarks.push_back(TextFolding::fold(textOf(b)));
    }
    return m_foldedBookmarks[size_t(entry)];
}

const QString &BookmarkTreeModel::foldedFolder(int entry) const
{
    if (m_foldedFolders.empty()) {
        m_foldedFolders.reserve(m_folders.size());
        for (const ReaderFolder &f : m_folders)
            m_foldedFolders.push_back(TextFolding::fold(f.name));
    }
    return m_foldedFolders[size_t(entry)];
}

void BookmarkTreeModel::build()
{
    m_nodes.clear();
    m_shownBookmarks = 0;
    m_nodes.push_back({-1, true, -1, 0, {}}); // the root
    m_nodes.push_back({-1, true, 0, 0, {}});  // "no folder"
    QHash<qint64, int> folderNode{{0, 1}};
    for (size_t i = 0; i < m_folders.size(); ++i) {
        folderNode.insert(m_folders[i].id, int(m_nodes.size()));
        m_nodes.push_back({int(i), true, -1, 0, {}});
    }
    // Folders under their parents; one whose parent is missing (or that would nest in
    // itself) stands at the top.
    for (size_t i = 0; i < m_folders.size(); ++i) {
        const int node = folderNode.value(m_folders[i].id);
        int parent = m_folders[i].parent ? folderNode.value(m_folders[i].parent, 0) : 0;
        for (int up = parent; up > 1; up = m_nodes[size_t(up)].parent) {
            if (up == node) {
                parent = 0;
                break;
            }
            if (m_nodes[size_t(up)].parent < 0)
                break;
        }
        m_nodes[size_t(node)].parent = parent;
    }
    const bool filtering = !m_filter.isEmpty();
    std::vector<char> shown(m_nodes.size(), filtering ? 0 : 1);
    for (size_t i = 0; i < m_bookmarks.size(); ++i) {
        const int parent = folderNode.value(m_bookmarks[i].folder, 1);
        if (filtering && !foldedBookmark(int(i)).contains(m_filter))
            continue;
        m_nodes.push_back({int(i), false, parent, 0, {}});
        ++m_shownBookmarks;
        shown.push_back(1);
        for (int up = parent; up > 0 && !shown[size_t(up)]; up = m_nodes[size_t(up)].parent)
            shown[size_t(up)] = 1;
    }
    if (filtering) {
        for (size_t i = 0; i < m_folders.size(); ++i) {
            if (!foldedFolder(int(i)).contains(m_filter))
                continue;
            for (int up = folderNode.value(m_folders[i].id); up > 0 && !shown[size_t(up)];
                 up = m_nodes[size_t(up)].parent)
                shown[size_t(up)] = 1;
        }
    }
    shown[0] = 1;
    // "No folder" first, then the folders in name order (as read), then the bookmarks.
    for (size_t n = 1; n < m_nodes.size(); ++n) {
        Node &node = m_nodes[n];
        if (!shown[n] || node.parent < 0)
            continue;
        std::vector<int> &siblings = m_nodes[size_t(node.parent)].children;
        node.row = int(siblings.size());
        siblings.push_back(int(n));
    }
}

const BookmarkTreeModel::Node *BookmarkTreeModel::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    const size_t n = size_t(index.internalId());
    return n < m_nodes.size() ? &m_nodes[n] : nullptr;
}

bool BookmarkTreeModel::isFolder(const QModelIndex &index) const
{
    const Node *node = nodeAt(index);
    return node && node->folder;
}

qint64 BookmarkTreeModel::idAt(const QModelIndex &index) const
{
    const Node *node = nodeAt(index);
    if (!node || node->entry < 0)
        return 0;
    return node->folder ? m_folders[size_t(node->entry)].id : m_bookmarks[size_t(node->entry)].id;
}

const ReaderBookmark *BookmarkTreeModel::bookmarkAt(const QModelIndex &index) const
{
    const Node *node = nodeAt(index);
    return node && !node->folder ? &m_bookmarks[size_t(node->entry)] : nullptr;
}

const ReaderFolder *BookmarkTreeModel::folderAt(const QModelIndex &index) const
{
    const Node *node = nodeAt(index);
    return node && node->folder && node->entry >= 0 ? &m_folders[size_t(node->entry)] : nullptr;
}

QModelIndex BookmarkTreeModel::folderIndex(qint64 id) const
{
    for (size_t n = 1; n < m_nodes.size(); ++n) {
        const Node &node = m_nodes[n];
        if (!node.folder)
            break;
        const qint64 nodeId = node.entry < 0 ? 0 : m_folders[size_t(node.entry)].id;
        if (nodeId == id && node.parent >= 0)
            return createIndex(node.row, 0, quintptr(n));
    }
    return QModelIndex();
}

QModelIndex BookmarkTreeModel::bookmarkIndex(qint64 id) const
{
    for (size_t n = 1; n < m_nodes.size(); ++n) {
        const Node &node = m_nodes[n];
        if (!node.folder && m_bookmarks[size_t(node.entry)].id == id)
            return createIndex(node.row, 0, quintptr(n));
    }
    return QModelIndex();
}

QModelIndex BookmarkTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const size_t p = parent.isValid() ? size_t(parent.internalId()) : 0;
    if (p >= m_nodes.size() || size_t(row) >= m_nodes[p].children.size())
        return QModelIndex();
    return createIndex(row, 0, quintptr(m_nodes[p].children[size_t(row)]));
}

QModelIndex BookmarkTreeModel::parent(const QModelIndex &child) const
{
    const Node *node = nodeAt(child);
    if (!node || node->parent <= 0)
        return QModelIndex();
    const Node &up = m_nodes[size_t(node->parent)];
    return createIndex(up.row, 0, quintptr(node->parent));
}

int BookmarkTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const size_t p = parent.isValid() ? size_t(parent.internalId()) : 0;
    return p < m_nodes.size() ? int(m_nodes[p].children.size()) : 0;
}

int BookmarkTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant BookmarkTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *node = nodeAt(index);
    if (!node)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (node->folder)
            return node->entry < 0 ? NoFolder : m_folders[size_t(node->entry)].name;
        return textOf(m_bookmarks[size_t(node->entry)]);
    }
    if (role == Qt::EditRole) {
        if (node->folder)
            return node->entry < 0 ? NoFolder : m_folders[size_t(node->entry)].name;
        return m_bookmarks[size_t(node->entry)].title;
    }
    return QVariant();
}

Qt::ItemFlags BookmarkTreeModel::flags(const QModelIndex &index) const
{
    const Node *node = nodeAt(index);
    if (!node)
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (node->folder)
        f |= Qt::ItemIsDropEnabled;
    else
        f |= Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    if (node->entry >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool BookmarkTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const Node *node = nodeAt(index);
    if (role != Qt::EditRole || !node || node->entry < 0)
        return false;
    const QString name = value.toString().trimmed();
    if (node->folder && name.isEmpty())
        return false;
    emit renameRequested(node->folder, idAt(index), name);
    return true;
}

QStringList BookmarkTreeModel::mimeTypes() const
{
    return {QString::fromLatin1(MimeType)};
}

QMimeData *BookmarkTreeModel::mimeData(const QModelIndexList &indexes) const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const QModelIndex &index : indexes) {
        if (const ReaderBookmark *b = bookmarkAt(index))
            out << b->id;
    }
    if (bytes.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(MimeType), bytes);
    return data;
}

bool BookmarkTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                        const QModelIndex &parent) const
{
    return data && data->hasFormat(QString::fromLatin1(MimeType)) && isFolder(parent);
}

bool BookmarkTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                     int column, const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    QDataStream in(data->data(QString::fromLatin1(MimeType)));
    std::vector<qint64> ids;
    while (!in.atEnd()) {
        qint64 id = 0;
        in >> id;
        if (in.status() != QDataStream::Ok)
            break;
        ids.push_back(id);
    }
    if (!ids.empty())
        emit moveRequested(ids, idAt(parent));
    // The view removes nothing itself: the page reloads the entries after the move.
    return false;
}
