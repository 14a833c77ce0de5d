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
        m_store.open(m_path);
        readMarks();
        if (!m_store.movedAside().isEmpty())
            Messages::showMessage(
                QStringLiteral("پرونده يادداشت ها و نشانه ها خراب بود يا از نسخه تازه تري است. "
                               "آن را دست نزده کنار گذاشتيم:\n%1\nو پرونده تازه اي ساختيم.")
                    .arg(QDir::toNativeSeparators(m_store.movedAside())));
    }
    return m_store;
}

bool ReaderData::open()
{
    return Messages::guard([this] { store(); });
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
    ReaderStore &s = store();
    const int added = s.addBookmarks(refs, s.lastFolder());
    entriesChangedHere(false);
    return added;
}

NoteEditor *ReaderData::editNote(const ReaderRef &ref, QWidget *parent)
{
    store();
    QPointer<NoteEditor> &editor = m_editors[ref.key()];
    if (!editor)
        editor = new NoteEditor(this, ref, parent);
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

bool ReaderData::saveOpenNotes()
{
    bool saved = true;
    for (const QPointer<NoteEditor> &editor : std::as_const(m_editors)) {
        if (editor && !editor->saveNow(true))
            saved = false;
    }
    return saved;
}

void ReaderData::noteSaved(const ReaderRef &ref, bool exists)
{
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
