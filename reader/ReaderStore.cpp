#include "reader/ReaderStore.h"

#include "data/LikeMatcher.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <sqlite3.h>

namespace {

// The file cannot be used as the reader's database as it is (damaged, no database, or made by
// a newer program); it is moved aside rather than changed.
class Unusable : public Error {
public:
    using Error::Error;
};

const char *const kSchema = R"sql(
CREATE TABLE folder (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL DEFAULT 0,
    name TEXT NOT NULL,
    created TEXT NOT NULL
);
CREATE TABLE bookmark (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    folder INTEGER NOT NULL DEFAULT 0,
    kind INTEGER NOT NULL,
    number INTEGER NOT NULL,
    verse INTEGER NOT NULL,
    title TEXT NOT NULL DEFAULT '',
    created TEXT NOT NULL
);
CREATE UNIQUE INDEX bookmark_once ON bookmark (folder, kind, number, verse);
CREATE TABLE note (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    kind INTEGER NOT NULL,
    number INTEGER NOT NULL,
    verse INTEGER NOT NULL,
    text TEXT NOT NULL,
    created TEXT NOT NULL,
    modified TEXT NOT NULL,
    origin INTEGER NOT NULL DEFAULT 0,
    revision INTEGER NOT NULL DEFAULT 1
);
CREATE UNIQUE INDEX note_own ON note (kind, number, verse) WHERE origin = 0;
CREATE INDEX note_ref ON note (kind, number, verse);
CREATE TABLE place (
    slot TEXT PRIMARY KEY,
    kind INTEGER NOT NULL,
    number INTEGER NOT NULL,
    verse INTEGER NOT NULL,
    modified TEXT NOT NULL
);
CREATE TABLE setting (
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
)sql";

bool isDamage(sqlite3 *db)
{
    const int code = sqlite3_errcode(db) & 0xFF;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

[[noreturn]] void raise(sqlite3 *db)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    if (isDamage(db))
        throw Unusable(message);
    throw Error(message);
}

// A prepared statement of the store: its failures that mean damage are told apart.
class Query {
public:
    Query(sqlite3 *db, const char *sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            raise(db);
    }
    ~Query() { sqlite3_finalize(m_stmt); }
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    Query &bind(int i, qint64 v)
    {
        check(sqlite3_bind_int64(m_stmt, i, v));
        return *this;
    }
    Query &bind(int i, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        check(sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // Binds kind, number and verse from position i on.
    Query &bind(int i, const ReaderRef &ref)
    {
        return bind(i, ref.kind).bind(i + 1, ref.number).bind(i + 2, ref.verse);
    }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            raise(m_db);
        return false;
    }
    void run()
    {
        while (step()) {
        }
        reset();
    }
    void reset() { sqlite3_reset(m_stmt); }
    qint64 integer(int c) const { return sqlite3_column_int64(m_stmt, c); }
    QString text(int c) const
    {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c));
        return QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, c));
    }
    ReaderRef ref(int c) const
    {
        return {int(integer(c)), int(integer(c + 1)), int(integer(c + 2))};
    }
    QDateTime time(int c) const { return ReaderStore::timeOf(text(c)); }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            raise(m_db);
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

void exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(db);
}

QString now()
{
    return ReaderStore::timeText(QDateTime::currentDateTimeUtc());
}

const char *slotName(ReaderStore::Slot slot)
{
    return slot == ReaderStore::Slot::Quran ? "quran" : "nahj";
}

const char *const kFolderColumns = "id, parent, name, created";
const char *const kBookmarkColumns = "id, folder, kind, number, verse, title, created";
const char *const kNoteColumns =
    "id, kind, number, verse, text, created, modified, origin, revision";

ReaderFolder folderAt(const Query &q)
{
    return {q.integer(0), q.integer(1), q.text(2), q.time(3)};
}

ReaderBookmark bookmarkAt(const Query &q)
{
    return {q.integer(0), q.integer(1), q.ref(2), q.text(5), q.time(6)};
}

ReaderNote noteAt(const Query &q)
{
    return {q.integer(0), q.ref(1),          q.text(4),   q.time(5),
            q.time(6),    int(q.integer(7)), q.integer(8)};
}

QByteArray select(const char *columns, const char *rest)
{
    return QByteArray("SELECT ") + columns + ' ' + rest;
}

// The ids as a list for an IN clause: numbers only, never reader text.
QByteArray idList(const std::vector<qint64> &ids)
{
    QByteArray list;
    for (const qint64 id : ids) {
        if (!list.isEmpty())
            list += ',';
        list += QByteArray::number(id);
    }
    return list;
}

} // namespace

QString ReaderStore::defaultPath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("reader.db"));
}

QString ReaderStore::timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime ReaderStore::timeOf(const QString &text)
{
    // The form timeText() writes, "2026-12-10T01:02:03.004Z", read digit by digit: lists of
    // thousands of entries read their times, and Qt's general parser costs microseconds each.
    static const QString form = QStringLiteral("0000-00-00T00:00:00.000Z");
    if (text.size() == form.size()) {
        int fields[7] = {};
        int field = 0;
        bool ok = true;
        for (qsizetype i = 0; i < text.size() && ok; ++i) {
            const QChar c = text[i];
            if (form[i] == QLatin1Char('0')) {
                ok = c >= QLatin1Char('0') && c <= QLatin1Char('9');
                fields[field] = fields[field] * 10 + (c.unicode() - '0');
            } else {
                ok = c == form[i];
                ++field;
            }
        }
        const QDate date(fields[0], fields[1], fields[2]);
        const QTime clock(fields[3], fields[4], fields[5], fields[6]);
        if (ok && date.isValid() && clock.isValid())
            return QDateTime(date, clock, Qt::UTC);
    }
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        time = QDateTime::fromString(text, Qt::ISODate);
    return time.toUTC();
}

void ReaderStore::open(const QString &path)
{
    close();
    m_path = path;
    m_movedAside.clear();
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw Error(
            QStringLiteral("Cannot create folder \"%1\".").arg(QDir::toNativeSeparators(dir)));
    try {
        openFile(path);
        migrate();
    } catch (const Unusable &e) {
        close();
        moveAside(e.message());
        openFile(path);
        migrate();
    }
}

void ReaderStore::openFile(const QString &path)
{
    m_db.open(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3 *db = m_db.handle();
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, "PRAGMA synchronous=FULL");
    LikeMatcher::install(db);
    Query check(db, "PRAGMA quick_check(1)");
    if (check.step() && check.text(0) != QLatin1String("ok"))
        throw Unusable(check.text(0));
    Query version(db, "PRAGMA user_version");
    version.step();
    if (version.integer(0) > SchemaVersion)
        throw Unusable(QStringLiteral("made by a newer version of the program (schema %1)")
                           .arg(version.integer(0)));
}

void ReaderStore::migrate()
{
    sqlite3 *db = m_db.handle();
    qint64 version = 0;
    {
        Query q(db, "PRAGMA user_version");
        q.step();
        version = q.integer(0);
    }
    if (version >= SchemaVersion)
        return;
    transaction([&] {
        // Another program may have made the schema while this one waited for the lock.
        Query again(db, "PRAGMA user_version");
        again.step();
        if (again.integer(0) >= SchemaVersion)
            return;
        if (again.integer(0) == 0)
            exec(db, kSchema);
        exec(db, "PRAGMA user_version=1");
    });
}

void ReaderStore::moveAside(const QString &why)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(m_path, target))
        throw Error(QStringLiteral("\"%1\" cannot be used (%2) and cannot be moved aside.")
                        .arg(QDir::toNativeSeparators(m_path), why));
    // The journal files belong to the file: committed entries may still be in the WAL.
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString journal = m_path + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            QFile::rename(journal, target + QLatin1String(suffix));
    }
    m_movedAside = target;
}

void ReaderStore::close()
{
    m_db.close();
}

void ReaderStore::begin()
{
    // IMMEDIATE takes the write lock at once, waiting for another program's transaction, so a
    // read inside the transaction never has to be retried.
    exec(m_db.handle(), "BEGIN IMMEDIATE");
}

void ReaderStore::commit()
{
    exec(m_db.handle(), "COMMIT");
    touch();
}

void ReaderStore::rollback()
{
    sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 ReaderStore::changeStamp()
{
    return (othersChanges() << 32) + m_ownChanges;
}

qint64 ReaderStore::othersChanges()
{
    Query q(m_db.handle(), "PRAGMA data_version");
    q.step();
    return q.integer(0);
}

std::optional<ReaderRef> ReaderStore::place(Slot slot)
{
    Query q(m_db.handle(), "SELECT kind, number, verse FROM place WHERE slot = ?");
    q.bind(1, QString::fromLatin1(slotName(slot)));
    if (!q.step())
        return std::nullopt;
    return q.ref(0);
}

void ReaderStore::setPlace(Slot slot, const ReaderRef &ref)
{
    Query q(m_db.handle(), "INSERT OR REPLACE INTO place (slot, kind, number, verse, modified) "
                           "VALUES (?, ?, ?, ?, ?)");
    q.bind(1, QString::fromLatin1(slotName(slot))).bind(2, ref).bind(5, now()).run();
    touch();
}

std::vector<ReaderFolder> ReaderStore::folders()
{
    std::vector<ReaderFolder> all;
    Query q(m_db.handle(), select(kFolderColumns, "FROM folder ORDER BY name, id"));
    while (q.step())
        all.push_back(folderAt(q));
    return all;
}

qint64 ReaderStore::addFolder(const QString &name, qint64 parent)
{
    Query q(m_db.handle(), "INSERT INTO folder (parent, name, created) VALUES (?, ?, ?)");
    q.bind(1, parent).bind(2, name).bind(3, now()).run();
    touch();
    return sqlite3_last_insert_rowid(m_db.handle());
}

void ReaderStore::renameFolder(qint64 id, const QString &name)
{
    Query(m_db.handle(), "UPDATE folder SET name = ? WHERE id = ?").bind(1, name).bind(2, id).run();
    touch();
}

void ReaderStore::moveFolder(qint64 id, qint64 parent)
{
    transaction([&] {
        Query within(m_db.handle(), "WITH RECURSIVE under(id) AS (SELECT ? UNION "
                                    "SELECT folder.id FROM folder JOIN under ON folder.parent = "
                                    "under.id) SELECT 1 FROM under WHERE id = ?");
        within.bind(1, id).bind(2, parent);
        if (within.step())
            throw Error(QStringLiteral("پوشه را نمي توان به درون خودش برد."));
        Query(m_db.handle(), "UPDATE folder SET parent = ? WHERE id = ?")
            .bind(1, parent)
            .bind(2, id)
            .run();
    });
}

qint64 ReaderStore::lastFolder()
{
    Query q(m_db.handle(), "SELECT folder.id FROM setting JOIN folder ON folder.id = "
                           "CAST(setting.value AS INTEGER) WHERE setting.key = 'lastFolder'");
    return q.step() ? q.integer(0) : 0;
}

void ReaderStore::setLastFolder(qint64 folder)
{
    Query(m_db.handle(), "INSERT OR REPLACE INTO setting (key, value) VALUES ('lastFolder', ?)")
        .bind(1, QString::number(folder))
        .run();
}

std::vector<ReaderBookmark> ReaderStore::bookmarks(Times times)
{
    std::vector<ReaderBookmark> all;
    // In the order of the index that keeps a folder's bookmarks apart: no sorting.
    Query q(m_db.handle(),
            select(kBookmarkColumns, "FROM bookmark ORDER BY folder, kind, number, verse"));
    while (q.step()) {
        if (times == Times::Read) {
            all.push_back(bookmarkAt(q));
        } else {
            ReaderBookmark b;
            b.id = q.integer(0);
            b.folder = q.integer(1);
            b.ref = q.ref(2);
            b.title = q.text(5);
            all.push_back(std::move(b));
        }
    }
    return all;
}

qint64 ReaderStore::addBookmark(const ReaderRef &ref, qint64 folder)
{
    addBookmarks({ref}, folder);
    Query q(m_db.handle(),
            "SELECT id FROM bookmark WHERE folder = ? AND kind = ? AND number = ? AND verse = ?");
    q.bind(1, folder).bind(2, ref);
    return q.step() ? q.integer(0) : 0;
}

int ReaderStore::addBookmarks(const std::vector<ReaderRef> &refs, qint64 folder)
{
    int added = 0;
    transaction([&] {
        Query insert(m_db.handle(),
                     "INSERT OR IGNORE INTO bookmark (folder, kind, number, verse, created) "
                     "VALUES (?, ?, ?, ?, ?)");
        const QString time = now();
        for (const ReaderRef &ref : refs) {
            insert.bind(1, folder).bind(2, ref).bind(5, time).run();
            added += sqlite3_changes(m_db.handle());
        }
    });
    return added;
}

void ReaderStore::moveBookmarks(const std::vector<qint64> &ids, qint64 folder)
{
    transaction([&] {
        // One already in the target folder takes the moved one's place: it is dropped.
        Query move(m_db.handle(), "UPDATE OR IGNORE bookmark SET folder = ? WHERE id = ?");
        Query drop(m_db.handle(), "DELETE FROM bookmark WHERE id = ? AND folder <> ?");
        for (const qint64 id : ids) {
            move.bind(1, folder).bind(2, id).run();
            drop.bind(1, id).bind(2, folder).run();
        }
    });
}

void ReaderStore::setBookmarkTitle(qint64 id, const QString &title)
{
    Query(m_db.handle(), "UPDATE bookmark SET title = ? WHERE id = ?")
        .bind(1, title)
        .bind(2, id)
        .run();
    touch();
}

std::vector<ReaderNote> ReaderStore::notes()
{
    std::vector<ReaderNote> all;
    Query q(m_db.handle(),
            select(kNoteColumns, "FROM note ORDER BY kind, number, verse, origin, id"));
    while (q.step())
        all.push_back(noteAt(q));
    return all;
}

std::vector<ReaderNote> ReaderStore::noteHeads(int length)
{
    // One character more than is kept tells a longer text; SQLite reads no further. The times
    // are left out: lists do not show them.
    std::vector<ReaderNote> all;
    Query q(m_db.handle(), "SELECT id, kind, number, verse, substr(text, 1, ?), origin, revision "
                           "FROM note ORDER BY kind, number, verse");
    q.bind(1, length + 1);
    while (q.step()) {
        ReaderNote note;
        note.id = q.integer(0);
        note.ref = q.ref(1);
        note.text = q.text(4);
        note.origin = int(q.integer(5));
        note.revision = q.integer(6);
        note.cut = note.text.size() > length;
        if (note.cut)
            note.text.truncate(length);
        all.push_back(std::move(note));
    }
    return all;
}

std::vector<qint64> ReaderStore::notesHolding(const QString &typed)
{
    QString pattern = typed;
    for (const char *special : {"\\", "%", "_"})
        pattern.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    std::vector<qint64> ids;
    Query q(m_db.handle(), "SELECT id FROM note WHERE text LIKE ? ESCAPE '\\'");
    q.bind(1, QLatin1Char('%') + pattern + QLatin1Char('%'));
    while (q.step())
        ids.push_back(q.integer(0));
    return ids;
}

std::optional<ReaderNote> ReaderStore::note(const ReaderRef &ref)
{
    Query q(m_db.handle(), select(kNoteColumns, "FROM note WHERE kind = ? AND number = ? AND "
                                                "verse = ? AND origin = 0"));
    q.bind(1, ref);
    if (!q.step())
        return std::nullopt;
    return noteAt(q);
}

ReaderStore::NoteSave ReaderStore::saveNote(const ReaderRef &ref, const QString &text,
                                            qint64 baseRevision)
{
    NoteSave result;
    transaction([&] {
        sqlite3 *db = m_db.handle();
        const std::optional<ReaderNote> stored = note(ref);
        const QString time = now();
        if (stored && stored->revision != baseRevision && stored->text != text) {
            // Saved by another program since this editor read it: its text stays, beside.
            Query(db, "UPDATE note SET origin = 2 WHERE id = ?").bind(1, stored->id).run();
            result.keptOther = true;
        } else if (stored) {
            if (text.isEmpty()) {
                Query(db, "DELETE FROM note WHERE id = ?").bind(1, stored->id).run();
                return;
            }
            Query(db, "UPDATE note SET text = ?, modified = ?, revision = revision + 1 "
                      "WHERE id = ?")
                .bind(1, text)
                .bind(2, time)
                .bind(3, stored->id)
                .run();
            result.revision = stored->revision + 1;
            return;
        }
        if (text.isEmpty())
            return;
        const qint64 revision = std::max<qint64>(baseRevision, stored ? stored->revision : 0) + 1;
        Query(db, "INSERT INTO note (kind, number, verse, text, created, modified, revision) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?)")
            .bind(1, ref)
            .bind(4, text)
            .bind(5, time)
            .bind(6, time)
            .bind(7, revision)
            .run();
        result.revision = revision;
    });
    return result;
}

std::vector<ReaderRef> ReaderStore::notedRefs()
{
    std::vector<ReaderRef> refs;
    Query q(m_db.handle(), "SELECT DISTINCT kind, number, verse FROM note");
    while (q.step())
        refs.push_back(q.ref(0));
    return refs;
}

ReaderRemoval ReaderStore::removeBookmarks(const std::vector<qint64> &ids)
{
    ReaderRemoval removed;
    transaction([&] {
        const QByteArray in = "(" + idList(ids) + ")";
        Query q(m_db.handle(), select(kBookmarkColumns, "FROM bookmark WHERE id IN " + in));
        while (q.step())
            removed.bookmarks.push_back(bookmarkAt(q));
        exec(m_db.handle(), "DELETE FROM bookmark WHERE id IN " + in);
    });
    return removed;
}

ReaderRemoval ReaderStore::removeFolder(qint64 id)
{
    ReaderRemoval removed;
    transaction([&] {
        sqlite3 *db = m_db.handle();
        const char *under = "WITH RECURSIVE under(id) AS (SELECT ? UNION SELECT folder.id FROM "
                            "folder JOIN under ON folder.parent = under.id) ";
        Query folders(db, QByteArray(under) + select(kFolderColumns, "FROM folder WHERE id IN "
                                                                     "(SELECT id FROM under)"));
        folders.bind(1, id);
        std::vector<qint64> ids;
        while (folders.step()) {
            removed.folders.push_back(folderAt(folders));
            ids.push_back(removed.folders.back().id);
        }
        if (ids.empty())
            return;
        const QByteArray in = "(" + idList(ids) + ")";
        Query marks(db, select(kBookmarkColumns, "FROM bookmark WHERE folder IN " + in));
        while (marks.step())
            removed.bookmarks.push_back(bookmarkAt(marks));
        exec(db, "DELETE FROM bookmark WHERE folder IN " + in);
        exec(db, "DELETE FROM folder WHERE id IN " + in);
    });
    return removed;
}

ReaderRemoval ReaderStore::removeNotes(const std::vector<qint64> &ids)
{
    ReaderRemoval removed;
    transaction([&] {
        const QByteArray in = "(" + idList(ids) + ")";
        Query q(m_db.handle(), select(kNoteColumns, "FROM note WHERE id IN " + in));
        while (q.step())
            removed.notes.push_back(noteAt(q));
        exec(m_db.handle(), "DELETE FROM note WHERE id IN " + in);
    });
    return removed;
}

void ReaderStore::restore(const ReaderRemoval &removed)
{
    transaction([&] {
        sqlite3 *db = m_db.handle();
        QSet<qint64> folderIds;
        for (const ReaderFolder &f : removed.folders)
            folderIds.insert(f.id);
        Query folder(db, "INSERT OR IGNORE INTO folder (id, parent, name, created) "
                         "VALUES (?, ?, ?, ?)");
        for (const ReaderFolder &f : removed.folders)
            folder.bind(1, f.id)
                .bind(2, f.parent)
                .bind(3, f.name)
                .bind(4, timeText(f.created))
                .run();
        // A folder whose parent is gone meanwhile comes back at the top; a bookmark whose
        // folder is gone, under no folder.
        exec(db, "UPDATE folder SET parent = 0 WHERE parent <> 0 AND parent NOT IN "
                 "(SELECT id FROM folder)");
        Query exists(db, "SELECT 1 FROM folder WHERE id = ?");
        Query bookmark(db, "INSERT OR IGNORE INTO bookmark (id, folder, kind, number, verse, "
                           "title, created) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const ReaderBookmark &b : removed.bookmarks) {
            qint64 target = b.folder;
            if (target != 0) {
                exists.bind(1, target);
                if (!exists.step())
                    target = 0;
                exists.reset();
            }
            bookmark.bind(1, b.id)
                .bind(2, target)
                .bind(3, b.ref)
                .bind(6, b.title)
                .bind(7, timeText(b.created))
                .run();
        }
        Query note(db, "INSERT OR IGNORE INTO note (id, kind, number, verse, text, created, "
                       "modified, origin, revision) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const ReaderNote &n : removed.notes) {
            const bool ownTaken = n.origin == ReaderNote::Own && this->note(n.ref).has_value();
            note.bind(1, n.id)
                .bind(2, n.ref)
                .bind(5, n.text)
                .bind(6, timeText(n.created))
                .bind(7, timeText(n.modified))
                .bind(8, ownTaken ? qint64(ReaderNote::OtherWindow) : qint64(n.origin))
                .bind(9, n.revision)
                .run();
        }
    });
}
