#include "ui/notes/ReaderData.h"

#include "platform/Messages.h"
#include "ui/notes/NoteEditor.h"

#include <QDir>

ReaderData::ReaderData(QObject *parent)
    : QObject(parent)
    , m_path(ReaderStore::defaultPath())
{
    m_placeTimer.setSingleShot(true);
    m_placeTimer.setInterval(PlaceDelayMs);
    connect(&m_placeTimer, &QTimer::timeout, this, [this] { writePlaces(); });
}

ReaderData::~ReaderData()
{
    // Places still waiting are written; a failure now has nobody to tell.
    try {
        writePlaces();
    } catch (...) {
    }
}

ReaderStore &ReaderData::store()
{
    if (!m_store.isOpen()) {
        try {
            m_store.open(m_path);
            readMarks();
        } catch (const Error &e) {
            m_store.close();
            throw Error(QStringLiteral("پرونده يادداشت ها و نشانه ها باز نشد: %1\nبا کار بعدي "
                                       "دوباره باز مي شود.")
                            .arg(e.message()));
        }
        m_openFailureShown = false;
        tellOpened();
    }
    return m_store;
}

void ReaderData::tellOpened()
{
    if (!m_store.movedAside().isEmpty())
        Messages::showMessage(
            QStringLiteral("پرونده يادداشت ها و نشانه ها خراب بود. آن را دست نزده کنار گذاشتيم:"
                           "\n%1\nو پرونده تازه اي ساختيم. با «ورود...» در صفحه يادداشت ها "
                           "آنچه از آن خواندني است به پرونده تازه افزوده مي شود.")
                .arg(QDir::toNativeSeparators(m_store.movedAside())));
    // Read-only is told once for each reason: the next opening may find the same.
    if (m_store.isReadOnly() && m_store.readOnlyReason() != m_toldReadOnly)
        Messages::showMessage(m_store.readOnlyReason());
    m_toldReadOnly = m_store.readOnlyReason();
}

bool ReaderData::open()
{
    if (m_store.isOpen())
        return true;
    try {
        store();
        return true;
    } catch (const Error &e) {
        if (!m_openFailureShown) {
            m_openFailureShown = true;
            Messages::showError(e.message());
        }
        return false;
    }
}

void ReaderData::recordPlace(ReaderStore::Slot slot, const ReaderRef &ref)
{
    m_pendingPlace[slot == ReaderStore::Slot::Quran ? 0 : 1] = ref;
    if (!m_placeTimer.isActive())
        m_placeTimer.start();
}

void ReaderData::flushPlaces()
{
    m_placeTimer.stop();
    Messages::guard([this] { writePlaces(); });
}

void ReaderData::writePlaces()
{
    if (!m_pendingPlace[0] && !m_pendingPlace[1])
        return;
    try {
        ReaderStore &s = store();
        for (int i = 0; i < 2; ++i) {
            if (m_pendingPlace[i]) {
                s.setPlace(i == 0 ? ReaderStore::Slot::Quran : ReaderStore::Slot::Nahj,
                           *m_pendingPlace[i]);
                m_pendingPlace[i].reset();
            }
        }
    } catch (const Error &e) {
        // Told once: the reader moves on, and the place is tried again at the next move.
        if (!m_placeFailureShown) {
            m_placeFailureShown = true;
            Messages::showError(e.message());
        }
    }
}

int ReaderData::addBookmarks(const std::vector<ReaderRef> &refs)
{
    const int added = store().addBookmarksToLastFolder(refs);
    entriesChangedHere(false);
    return added;
}

NoteEditor *ReaderData::showEditor(NoteEditor *editor)
{
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

NoteEditor *ReaderData::editNote(const ReaderRef &ref, QWidget *parent)
{
    store();
    QPointer<NoteEditor> &editor = m_editors[ref.key()];
    if (!editor) {
        ReaderNote own;
        own.ref = ref;
        editor = new NoteEditor(this, own, parent);
    }
    return showEditor(editor);
}

NoteEditor *ReaderData::editKeptNote(const ReaderNote &note, QWidget *parent)
{
    if (note.origin == ReaderNote::Own)
        return editNote(note.ref, parent);
    store();
    QPointer<NoteEditor> &editor = m_keptEditors[note.id];
    if (!editor)
        editor = new NoteEditor(this, note, parent);
    return showEditor(editor);
}

QList<QPointer<NoteEditor>> ReaderData::editors() const
{
    QList<QPointer<NoteEditor>> open = m_editors.values();
    open.append(m_keptEditors.values());
    return open;
}

bool ReaderData::closeEditors()
{
    for (const QPointer<NoteEditor> &editor : editors()) {
        if (editor && editor->isVisible() && !editor->close())
            return false;
    }
    return true;
}

void ReaderData::removedHere(const ReaderRemoval &removal)
{
    emit removed(removal);
    entriesChangedHere();
}

void ReaderData::noteSaved(const ReaderRef &ref)
{
    bool exists = true;
    try {
        exists = m_store.hasNotes(ref);
    } catch (const Error &) {
        // The mark stays as it was until the marks are read again.
        exists = m_noted.contains(ref.key());
    }
    const bool had = m_noted.contains(ref.key());
    if (exists)
        m_noted.insert(ref.key());
    else
        m_noted.remove(ref.key());
    if (had != exists)
        emit notesChanged();
    emit entriesChanged();
}

void ReaderData::refreshIfChanged()
{
    if (!m_store.isOpen())
        return;
    Messages::guard([this] {
        if (m_store.othersChanges() == m_seenOthers)
            return;
        readMarks();
        emit notesChanged();
        emit entriesChanged();
    });
}

void ReaderData::entriesChangedHere(bool notes)
{
    if (notes) {
        readMarks();
        emit notesChanged();
    }
    emit entriesChanged();
}

void ReaderData::readMarks()
{
    m_seenOthers = m_store.othersChanges();
    m_noted.clear();
    for (const ReaderRef &ref : m_store.notedRefs())
        m_noted.insert(ref.key());
}
