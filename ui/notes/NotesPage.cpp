#include "ui/notes/NotesPage.h"

#include "data/PersianDigits.h"
#include "data/TextFolding.h"
#include "platform/FileChooser.h"
#include "platform/Messages.h"
#include "platform/SaveFileChooser.h"
#include "reader/ReaderExchange.h"
#include "ui/notes/BookmarkTreeModel.h"
#include "ui/notes/NoteListModel.h"
#include "ui/notes/ReaderData.h"

#include <QDate>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

const QString NotesPage::Caption = QStringLiteral("يادداشت ها");

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    return named(new QPushButton(caption, parent), name);
}

// The selected rows of a view, in their order; the current row when none is selected.
QModelIndexList chosen(const QAbstractItemView *view)
{
    QModelIndexList rows = view->selectionModel()->selectedRows();
    if (rows.isEmpty() && view->currentIndex().isValid())
        rows.append(view->currentIndex());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// What a removal question names: «البقرة ۲۵۵» alone, or how many with the first few of them.
QString removalText(const QString &word, const QStringList &labels)
{
    if (labels.size() == 1)
        return QStringLiteral("%1 «%2»").arg(word, labels.first());
    return QStringLiteral("%1 %2 (%3)")
        .arg(PersianDigits::number(qint64(labels.size())), word,
             labels.mid(0, 5).join(QStringLiteral("، ")));
}

} // namespace

NotesPage::NotesPage(ReaderData *reader, std::function<void(TextOpenings &)> loadOpenings,
                     QWidget *parent)
    : QWidget(parent)
    , m_data(reader)
    , m_loadOpenings(std::move(loadOpenings))
    , m_bookmarks(new BookmarkTreeModel(this))
    , m_notes(new NoteListModel(this))
{
    setObjectName(QStringLiteral("NotesPage"));

    ContinueQuran = button(QString(), "ContinueQuran", this);
    ContinueNahj = button(QString(), "ContinueNahj", this);
    for (QPushButton *b : {ContinueQuran, ContinueNahj}) {
        b->setFlat(true);
        b->setCursor(Qt::PointingHandCursor);
    }
    auto *places = new QHBoxLayout;
    places->addWidget(ContinueQuran);
    places->addWidget(ContinueNahj);
    places->addStretch(1);

    auto *filterLabel = new QLabel(QStringLiteral("جستجو در نشانه ها و يادداشت ها:"), this);
    BookmarkFilter = named(new QLineEdit(this), "BookmarkFilter");
    BookmarkFilter->setClearButtonEnabled(true);
    filterLabel->setBuddy(BookmarkFilter);
    BookmarkFilter->setAccessibleName(filterLabel->text());
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(BookmarkFilter, 1);

    BookmarkTree = named(new QTreeView(this), "BookmarkTree");
    BookmarkTree->setModel(m_bookmarks);
    BookmarkTree->setHeaderHidden(true);
    BookmarkTree->setUniformRowHeights(true);
    BookmarkTree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    BookmarkTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    BookmarkTree->setDragDropMode(QAbstractItemView::DragDrop);
    BookmarkTree->setDefaultDropAction(Qt::MoveAction);
    BookmarkTree->setDropIndicatorShown(true);
    BookmarkTree->setAccessibleName(QStringLiteral("نشانه ها"));
    NoteList = named(new QListView(this), "NoteList");
    NoteList->setModel(m_notes);
    NoteList->setUniformItemSizes(true);
    NoteList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    NoteList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    NoteList->setAccessibleName(QStringLiteral("يادداشت ها"));

    auto *bookmarkBox = new QWidget(this);
    auto *bookmarkLayout = new QVBoxLayout(bookmarkBox);
    bookmarkLayout->setContentsMargins(0, 0, 0, 0);
    bookmarkLayout->addWidget(new QLabel(QStringLiteral("نشانه ها"), bookmarkBox));
    bookmarkLayout->addWidget(BookmarkTree, 1);
    auto *noteBox = new QWidget(this);
    auto *noteLayout = new QVBoxLayout(noteBox);
    noteLayout->setContentsMargins(0, 0, 0, 0);
    noteLayout->addWidget(new QLabel(Caption, noteBox));
    noteLayout->addWidget(NoteList, 1);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(bookmarkBox);
    split->addWidget(noteBox);

    NewFolder = button(QStringLiteral("پوشه جديد"), "NewFolder", this);
    RenameEntry = button(QStringLiteral("تغيير نام"), "RenameEntry", this);
    DeleteEntry = button(QStringLiteral("حذف"), "DeleteEntry", this);
    UndoRemoval = button(QStringLiteral("برگرداندن"), "UndoRemoval", this);
    EditNote = button(QStringLiteral("يادداشت"), "EditNote", this);
    ExportButton = button(QStringLiteral("صدور..."), "ExportButton", this);
    ImportButton = button(QStringLiteral("ورود..."), "ImportButton", this);
    UndoRemoval->setEnabled(false);
    auto *commands = new QHBoxLayout;
    for (QPushButton *b : {NewFolder, RenameEntry, DeleteEntry, UndoRemoval, EditNote})
        commands->addWidget(b);
    commands->addStretch(1);
    commands->addWidget(ExportButton);
    commands->addWidget(ImportButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(places);
    layout->addLayout(filterRow);
    layout->addWidget(split, 1);
    layout->addLayout(commands);

    const auto handler = [this](QPushButton *b, void (NotesPage::*run)()) {
        connect(b, &QPushButton::clicked, this,
                [this, run] { Messages::guard([&] { (this->*run)(); }); });
    };
    handler(ContinueQuran, &NotesPage::ContinueQuranClick);
    handler(ContinueNahj, &NotesPage::ContinueNahjClick);
    handler(NewFolder, &NotesPage::NewFolderClick);
    handler(RenameEntry, &NotesPage::RenameEntryClick);
    handler(DeleteEntry, &NotesPage::DeleteEntryClick);
    handler(UndoRemoval, &NotesPage::UndoRemovalClick);
    handler(EditNote, &NotesPage::EditNoteClick);
    handler(ExportButton, &NotesPage::ExportClick);
    handler(ImportButton, &NotesPage::ImportClick);
    connect(BookmarkFilter, &QLineEdit::textChanged, this, [this] { applyFilter(); });

    connect(BookmarkTree, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        if (const ReaderBookmark *b = m_bookmarks->bookmarkAt(index))
            Messages::guard([&] { openEntry(b->ref); });
    });
    connect(NoteList, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        if (const ReaderNote *n = m_notes->noteAt(index))
            Messages::guard([&] { openEntry(n->ref); });
    });
    // A folder the reader picks is where the next bookmarks go.
    connect(BookmarkTree, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (m_bookmarks->isFolder(index))
            Messages::guard([&] { m_data->store().setLastFolder(m_bookmarks->idAt(index)); });
    });
    connect(m_bookmarks, &BookmarkTreeModel::moveRequested, this,
            [this](const std::vector<qint64> &ids, qint64 folder) {
                Messages::guard([&] {
                    ReaderStore &store = m_data->store();
                    store.moveBookmarks(ids, folder);
                    store.setLastFolder(folder);
                    m_data->entriesChangedHere();
                });
            });
    connect(m_bookmarks, &BookmarkTreeModel::renameRequested, this,
            [this](bool folder, qint64 id, const QString &name) {
                Messages::guard([&] {
                    if (folder)
                        m_data->store().renameFolder(id, name);
                    else
                        m_data->store().setBookmarkTitle(id, name);
                    m_data->entriesChangedHere();
                });
            });
    connect(m_data, &ReaderData::removed, this,
            [this](const ReaderRemoval &removed) { keepForUndo(removed); });
    connect(m_data, &ReaderData::entriesChanged, this, [this] {
        m_shownStamp = -1;
        if (isVisible())
            refresh();
    });
    for (QWidget *view : {static_cast<QWidget *>(BookmarkTree), static_cast<QWidget *>(NoteList)})
        view->installEventFilter(this);
    showPlaces();
}

void NotesPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void NotesPage::refresh()
{
    if (!m_data->open())
        return;
    Messages::guard([this] {
        if (m_data->store().changeStamp() != m_shownStamp)
            reload();
    });
}

void NotesPage::reload()
{
    ReaderStore &store = m_data->store();
    if (!m_openings.isLoaded() && m_loadOpenings) {
        // Without the text database the entries still show, by their references alone.
        try {
            m_loadOpenings(m_openings);
        } catch (const Error &) {
        }
    }
    m_shownStamp = store.changeStamp();
    m_places[0] = store.place(ReaderStore::Slot::Quran);
    m_places[1] = store.place(ReaderStore::Slot::Nahj);
    m_bookmarks->setEntries(store.folders(), store.bookmarks(ReaderStore::Times::Skip),
                            [this](const ReaderRef &ref) { return m_openings.opening(ref); });
    m_notes->setNotes(store.noteHeads(NoteHeadLength));
    // The filter is asked again: the notes' texts may hold it now, or no more.
    applyFilter();
    showPlaces();
}

void NotesPage::showPlaces()
{
    const auto show = [](QPushButton *b, const QString &book, const std::optional<ReaderRef> &at) {
        b->setText(at ? QStringLiteral("ادامه %1: %2").arg(book, at->label())
                      : QStringLiteral("ادامه %1: هنوز جايي خوانده نشده").arg(book));
        b->setEnabled(at.has_value());
    };
    show(ContinueQuran, QStringLiteral("قرآن"), m_places[0]);
    show(ContinueNahj, QStringLiteral("نهج البلاغه"), m_places[1]);
}

void NotesPage::applyFilter()
{
    const QString typed = BookmarkFilter->text().trimmed();
    const QString folded = TextFolding::fold(typed).trimmed();
    // The notes' whole texts are searched where they are; the lists hold their beginnings.
    QSet<qint64> inText;
    if (!folded.isEmpty() && m_data->isOpen()) {
        Messages::guard([&] {
            for (const qint64 id : m_data->store().notesHolding(typed))
                inText.insert(id);
        });
    }
    m_bookmarks->setFilter(folded);
    m_notes->setFilter(folded, inText);
    expandBookmarks();
}

void NotesPage::expandBookmarks()
{
    // Folders open while what they show stays short; a long list keeps them closed, as
    // opening thousands of rows would take longer than a keystroke may.
    if (m_bookmarks->shownBookmarks() <= 500)
        BookmarkTree->expandAll();
}

void NotesPage::openEntry(const ReaderRef &ref)
{
    emit openRequested(ref);
}

void NotesPage::ContinueQuranClick()
{
    if (m_places[0])
        openEntry(*m_places[0]);
}

void NotesPage::ContinueNahjClick()
{
    if (m_places[1])
        openEntry(*m_places[1]);
}

qint64 NotesPage::selectedFolder() const
{
    const QModelIndex current = BookmarkTree->currentIndex();
    if (m_bookmarks->isFolder(current))
        return m_bookmarks->idAt(current);
    if (const ReaderBookmark *b = m_bookmarks->bookmarkAt(current))
        return b->folder;
    return 0;
}

void NotesPage::NewFolderClick()
{
    ReaderStore &store = m_data->store();
    const qint64 id = store.addFolder(QStringLiteral("پوشه تازه"), selectedFolder());
    store.setLastFolder(id);
    m_data->entriesChangedHere();
    reload();
    const QModelIndex made = m_bookmarks->folderIndex(id);
    BookmarkTree->setCurrentIndex(made);
    BookmarkTree->edit(made);
}

void NotesPage::RenameEntryClick()
{
    const QModelIndex current = BookmarkTree->currentIndex();
    if (current.isValid() && (m_bookmarks->flags(current) & Qt::ItemIsEditable))
        BookmarkTree->edit(current);
}

void NotesPage::DeleteEntryClick()
{
    ReaderStore &store = m_data->store();
    if (m_noteListActive) {
        std::vector<qint64> ids;
        QStringList names;
        for (const QModelIndex &index : chosen(NoteList)) {
            if (const ReaderNote *n = m_notes->noteAt(index)) {
                ids.push_back(n->id);
                names << n->ref.label();
            }
        }
        if (ids.empty())
            return;
        if (!confirmRemoval(removalText(QStringLiteral("يادداشت"), names)))
            return;
        afterRemoval(store.removeNotes(ids));
        return;
    }

    const QModelIndexList rows = chosen(BookmarkTree);
    if (rows.isEmpty())
        return;
    if (const ReaderFolder *folder = m_bookmarks->folderAt(rows.first())) {
        // The folder goes with its folders and every bookmark in them: the question says so.
        const auto [folders, marks] = store.folderContents(folder->id);
        QString question = QStringLiteral("پوشه «%1»").arg(folder->name);
        if (folders > 1)
            question += QStringLiteral(" با %1 پوشه درون آن")
                            .arg(PersianDigits::number(qint64(folders - 1)));
        if (marks > 0)
            question += QStringLiteral(" و %1 نشانه").arg(PersianDigits::number(qint64(marks)));
        if (!confirmRemoval(question))
            return;
        afterRemoval(store.removeFolder(folder->id));
        return;
    }
    std::vector<qint64> ids;
    QStringList names;
    for (const QModelIndex &index : rows) {
        if (const ReaderBookmark *b = m_bookmarks->bookmarkAt(index)) {
            ids.push_back(b->id);
            names << b->ref.label();
        }
    }
    if (ids.empty())
        return;
    if (!confirmRemoval(removalText(QStringLiteral("نشانه"), names)))
        return;
    afterRemoval(store.removeBookmarks(ids));
}

bool NotesPage::confirmRemoval(const QString &what)
{
    return Messages::confirm(Messages::title(), what + QStringLiteral(" پاک شود؟"), this);
}

void NotesPage::afterRemoval(const ReaderRemoval &removed)
{
    keepForUndo(removed);
    m_data->entriesChangedHere();
    reload();
}

void NotesPage::keepForUndo(const ReaderRemoval &removed)
{
    m_lastRemoval = removed;
    UndoRemoval->setEnabled(!removed.isEmpty());
}

void NotesPage::UndoRemovalClick()
{
    if (m_lastRemoval.isEmpty())
        return;
    m_data->store().restore(m_lastRemoval);
    m_lastRemoval = ReaderRemoval();
    UndoRemoval->setEnabled(false);
    m_data->entriesChangedHere();
    reload();
}

void NotesPage::EditNoteClick()
{
    if (m_noteListActive) {
        // The note of the row, whole: the reader's own, or one kept beside it.
        if (const ReaderNote *n = m_notes->noteAt(NoteList->currentIndex())) {
            m_data->editKeptNote(*n, window());
            return;
        }
    }
    if (const ReaderBookmark *b = m_bookmarks->bookmarkAt(BookmarkTree->currentIndex()))
        m_data->editNote(b->ref, window());
}

void NotesPage::ExportClick()
{
    const QString start = QDir::home().filePath(
        QStringLiteral("kevran-%1.json").arg(QDate::currentDate().toString(Qt::ISODate)));
    const QString path =
        SaveFileChooser::current().chooseFileToSave(this, start, QStringLiteral("JSON (*.json)"));
    if (path.isEmpty())
        return;
    m_data->flushPlaces();
    ReaderExchange::exportToFile(m_data->store(), path);
    Messages::showMessage(QStringLiteral("همه پوشه ها، نشانه ها، يادداشت ها و جاها در اين پرونده "
                                         "نوشته شد:\n%1")
                              .arg(QDir::toNativeSeparators(path)),
                          this);
}

bool NotesPage::importCheck(const ReaderRef &ref)
{
    // A verse is checked by the Quran's own shape; an item, by the text database when it
    // could be read.
    return ref.isVerse() || !m_openings.isLoaded() || m_openings.exists(ref);
}

void NotesPage::ImportClick()
{
    const QString path = FileChooser::current().chooseFileToOpen(this, QDir::homePath());
    if (path.isEmpty())
        return;
    if (!m_openings.isLoaded() && m_loadOpenings) {
        try {
            m_loadOpenings(m_openings);
        } catch (const Error &) {
        }
    }
    const ReaderExchange::Report report = ReaderExchange::importFile(
        m_data->store(), path, [this](const ReaderRef &ref) { return importCheck(ref); });
    m_data->entriesChangedHere();
    reload();
    QString text =
        QStringLiteral("از پرونده افزوده شد: %1 پوشه، %2 نشانه، %3 يادداشت، %4 جا.")
            .arg(PersianDigits::number(report.folders), PersianDigits::number(report.bookmarks),
                 PersianDigits::number(report.notes), PersianDigits::number(report.places));
    if (report.skipped > 0)
        text += QStringLiteral("\n%1 مورد از پيش بود و دوباره افزوده نشد.")
                    .arg(PersianDigits::number(report.skipped));
    if (report.keptBeside > 0)
        text += QStringLiteral("\n%1 يادداشت با يادداشت موجود فرق داشت و کنار آن با نشان «وارد "
                               "شده» نگه داشته شد.")
                    .arg(PersianDigits::number(report.keptBeside));
    if (report.unplaced > 0)
        text += QStringLiteral("\n%1 پوشه يا نشانه، پوشه اي را نام مي برد که در پرونده نبود؛ "
                               "در «بدون پوشه» يا بالاي همه پوشه ها گذاشته شد.")
                    .arg(PersianDigits::number(report.unplaced));
    if (report.damaged)
        text += QStringLiteral("\nپرونده آسيب ديده بود؛ هرچه از آن خواندني بود افزوده شد.");
    Messages::showMessage(text, this);
}

bool NotesPage::eventFilter(QObject *watched, QEvent *event)
{
    // The buttons act on the list the reader was in last.
    if (event->type() == QEvent::FocusIn)
        m_noteListActive = watched == NoteList;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete &&
        (watched == BookmarkTree || watched == NoteList)) {
        // While a name is edited in place, the keys go to the editor, not here.
        m_noteListActive = watched == NoteList;
        Messages::guard([this] { DeleteEntryClick(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
