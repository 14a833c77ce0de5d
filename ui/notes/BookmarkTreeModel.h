#pragma once

#include "reader/ReaderStore.h"

#include <QAbstractItemModel>
#include <functional>
#include <vector>

// The bookmark folders as a tree, with the bookmarks under them and, first, the bookmarks of
// no folder under "بدون پوشه". A filter of folded text narrows it to the bookmarks whose
// reference, title or opening holds it (and the folders on their way), and to the folders
// whose name holds it. Bookmarks are dragged onto folders to move them.
class BookmarkTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static const QString NoFolder;
    static constexpr const char *MimeType = "application/x-kevran-bookmarks";
    // What an entry shows after its reference when it has no title of its own.
    using Opening = std::function<QString(const ReaderRef &)>;

    explicit BookmarkTreeModel(QObject *parent = nullptr);

    void setEntries(std::vector<ReaderFolder> folders, std::vector<ReaderBookmark> bookmarks,
                    Opening opening);
    // Folded text (TextFolding); empty shows everything.
    void setFilter(const QString &folded);

    // What a row stands for.
    bool isFolder(const QModelIndex &index) const;
    // The folder's id (0 for "no folder"), or the bookmark's.
    qint64 idAt(const QModelIndex &index) const;
    const ReaderBookmark *bookmarkAt(const QModelIndex &index) const;
    const ReaderFolder *folderAt(const QModelIndex &index) const;
    // The row of a folder or bookmark by id, invalid when not shown.
    QModelIndex folderIndex(qint64 id) const;
    QModelIndex bookmarkIndex(qint64 id) const;
    const std::vector<ReaderFolder> &folders() const { return m_folders; }
    const std::vector<ReaderBookmark> &bookmarks() const { return m_bookmarks; }
    // How many bookmarks the filter lets through.
    int shownBookmarks() const { return m_shownBookmarks; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

signals:
    // The reader dropped bookmarks on a folder (0: no folder).
    void moveRequested(const std::vector<qint64> &bookmarks, qint64 folder);
    // The reader renamed a folder, or titled a bookmark, in place.
    void renameRequested(bool folder, qint64 id, const QString &name);

private:
    struct Node {
        int entry; // index into m_folders or m_bookmarks; -1 for the root and "no folder"
        bool folder;
        int parent; // node index; -1 for the root
        int row;    // among the parent's shown children
        std::vector<int> children;
    };
    void build();
    QString textOf(const ReaderBookmark &b) const;
    const QString &foldedBookmark(int entry) const;
    const QString &foldedFolder(int entry) const;
    const Node *nodeAt(const QModelIndex &index) const;

    std::vector<ReaderFolder> m_folders;
    std::vector<ReaderBookmark> m_bookmarks;
    Opening m_opening;
    QString m_filter;
    std::vector<Node> m_nodes;
    int m_shownBookmarks = 0;
    // Folded texts, made at the first filter.
    mutable std::vector<QString> m_foldedBookmarks;
    mutable std::vector<QString> m_foldedFolders;
};
