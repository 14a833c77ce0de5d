#include "reader/ReaderStore.h"

#include "data/LikeMatcher.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <set>
#include <sqlite3.h>

namespace {

// The file cannot be used as the reader's database as it is (damaged, or no database); it is
// moved aside rather than changed.
class Unusable : public Error {
public:
    using Error::Error;
};

// The file can be read but not written here: it is opened read-only.
class NotWritable : public Error {
public:
    using Error::Error;
};

// A newer program wrote the file: it is opened read-only and never changed.
class Newer : public Error {
public:
    using Error::Error;
};

const char *const kNoFolder = "پوشه اي که اين کار به آن برمي گشت ديگر نيست؛ شايد در پنجره ديگري "
                              "پاک شده است.";

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

bool isDamage(int code)
{
    return (code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB;
}

bool meansReadOnly(int code)
{
    const int primary = code & 0xFF;
    return primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_AUTH ||
           primary == SQLITE_CANTOPEN;
}

// SQLite's own words go to standard error for whoever looks into a fault; the reader is told in
// Persian.
[[noreturn]] void raise(sqlite3 *db)
{
    const int code = sqlite3_extended_errcode(db);
    std::fprintf(stderr, "reader.db: %s (%d)\n", sqlite3_errmsg(db), code);
    const QString message = ReaderStore::reason(code);
    if (isDamage(code))
        throw Unusable(message);
    if (meansReadOnly(code))
        throw NotWritable(message);
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

QString ReaderStore::programVersion()
{
    return QStringLiteral(KEVRAN_VERSION);
}

QString ReaderStore::reason(int sqliteCode)
{
    switch (sqliteCode & 0xFF) {
    case SQLITE_FULL:
        return QStringLiteral("جاي خالي ديسک تمام شده است");
    case SQLITE_READONLY:
        return QStringLiteral("پرونده يادداشت ها فقط خواندني است");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("اجازه نوشتن در پرونده يادداشت ها نيست");
    case SQLITE_CANTOPEN:
        return QStringLiteral("پرونده يادداشت ها باز نمي شود");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("برنامه ديگري پرونده يادداشت ها را در دست دارد؛ کمي بعد دوباره "
                              "بکوشيد");
    case SQLITE_IOERR:
        return QStringLiteral("خواندن يا نوشتن ديسک نشد");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("پرونده يادداشت ها خراب است");
    case SQLITE_NOMEM:
        return QStringLiteral("حافظه کافي نيست");
    case SQLITE_TOOBIG:
        return QStringLiteral("متن بزرگ تر از آن است که ذخيره شود");
    default:
        return QStringLiteral("پرونده يادداشت ها خطا داد (کد %1)").arg(sqliteCode);
    }
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
    m_readOnlyReason.clear();
    m_newer = false;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw Error(QStringLiteral("پوشه «%1» ساخته نمي شود.").arg(QDir::toNativeSeparators(dir)));
    try {
        try {
            openWritable();
        } catch (const Unusable &e) {
            close();
            moveAside(e.message());
            openWritable();
        }
    } catch (const Newer &e) {
        close();
        m_newer = true;
        openReadOnly(e.message());
    } catch (const NotWritable &e) {
        close();
        if (!QFileInfo::exists(path))
            throw Error(QStringLiteral("پرونده يادداشت ها در «%1» ساخته نمي شود: %2.")
                            .arg(QDir::toNativeSeparators(dir), e.message()));
        openReadOnly(QStringLiteral("پرونده يادداشت ها نوشتني نيست (%1)؛ آنچه در آن است خوانده "
                                    "مي شود و تا نوشتني شود چيزي در آن ذخيره نمي شود.")
                         .arg(e.message()));
    } catch (...) {
        // Half-open is never left behind: the next use opens again from the start.
        close();
        throw;
    }
}

void ReaderStore::openWritable()
{
    try {
        m_db.open(QFile::encodeName(m_path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    } catch (const Error &) {
        throw NotWritable(reason(SQLITE_CANTOPEN));
    }
    sqlite3 *db = m_db.handle();
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // The schema's version is read before anything is written: a newer program's file stays
    // as that program left it.
    {
        Query version(db, "PRAGMA user_version");
        version.step();
        if (version.integer(0) > SchemaVersion) {
            QString writer;
            try {
                Query q(db, "SELECT value FROM setting WHERE key = 'program'");
                if (q.step())
                    writer = q.text(0);
            } catch (const Error &) {
            }
            if (writer.isEmpty())
                writer = QStringLiteral("با پايگاه شماره %1").arg(version.integer(0));
            throw Newer(QStringLiteral("پرونده يادداشت ها را نسخه تازه تري از برنامه (%1) نوشته "
                                       "است؛ اين نسخه (%2) آن را فقط مي خواند و چيزي در آن "
                                       "نمي نويسد. براي نوشتن، نسخه تازه را به کار ببريد.")
                            .arg(writer, programVersion()));
        }
    }
    if (sqlite3_db_readonly(db, "main") == 1)
        throw NotWritable(reason(SQLITE_READONLY));
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, "PRAGMA synchronous=FULL");
    LikeMatcher::install(db);
    Query check(db, "PRAGMA quick_check(1)");
    if (check.step() && check.text(0) != QLatin1String("ok"))
        throw Unusable(check.text(0));
    migrate();
    repair();
}

void ReaderStore::openReadOnly(const QString &why)
{
    const QByteArray file = QFile::encodeName(m_path);
    auto schemaVersion = [this] {
        Query version(m_db.handle(), "PRAGMA user_version");
        version.step();
        return version.integer(0);
    };
    qint64 version = 0;
    try {
        m_db.open(file, SQLITE_OPEN_READONLY);
        version = schemaVersion();
    } catch (const Error &) {
        // A WAL file on a folder that cannot be written opens only as immutable: its journal
        // index cannot be made.
        close();
        const QByteArray uri = "file:" + QUrl::toPercentEncoding(m_path, "/") + "?immutable=1";
        m_db.open(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        version = schemaVersion();
    }
    sqlite3_extended_result_codes(m_db.handle(), 1);
    if (version == 0) {
        // An empty file: nothing to read. An empty store in memory answers the lists.
        close();
        m_db.open(":memory:", SQLITE_OPEN_READWRITE);
        exec(m_db.handle(), kSchema);
    }
    LikeMatcher::install(m_db.handle());
    m_readOnlyReason = why;
}

void ReaderStore::migrate()
{
    sqlite3 *db = m_db.handle();
    auto recorded = [db] {
        Query q(db, "SELECT coalesce((SELECT value FROM setting WHERE key = 'program'), '')");
        q.step();
        return q.text(0);
    };
    qint64 version = 0;
    {
        Query q(db, "PRAGMA user_version");
        q.step();
        version = q.integer(0);
    }
    if (version >= SchemaVersion && recorded() == programVersion())
        return;
    transaction([&] {
        // Another program may have made the schema while this one waited for the lock.
        Query again(db, "PRAGMA user_version");
        again.step();
        if (again.integer(0) == 0)
            exec(db, kSchema);
        if (again.integer(0) < SchemaVersion)
            exec(db, "PRAGMA user_version=1");
        // Which program wrote the file last, for an older one to name.
        Query(db, "INSERT OR REPLACE INTO setting (key, value) VALUES ('program', ?)")
            .bind(1, programVersion())
            .run();
    });
}

void ReaderStore::repair()
{
    // A program before this one could file a bookmark or a folder under a folder that another
    // window had removed a moment before; such entries come back to the top.
    sqlite3 *db = m_db.handle();
    Query orphans(db, "SELECT EXISTS (SELECT 1 FROM bookmark WHERE folder <> 0 AND folder NOT IN "
                      "(SELECT id FROM folder)) OR EXISTS (SELECT 1 FROM folder WHERE parent <> 0 "
                      "AND parent NOT IN (SELECT id FROM folder))");
    orphans.step();
    if (orphans.integer(0) == 0)
        return;
    orphans.reset();
    transaction([&] {
        exec(db, "UPDATE folder SET parent = 0 WHERE parent <> 0 AND parent NOT IN "
                 "(SELECT id FROM folder)");
        std::vector<qint64> ids;
        Query q(db, "SELECT id FROM bookmark WHERE folder <> 0 AND folder NOT IN "
                    "(SELECT id FROM folder)");
        while (q.step())
            ids.push_back(q.integer(0));
        moveInto(ids, 0);
    });
}

void ReaderStore::moveAside(const QString &why)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(m_path, target))
        throw Error(QStringLiteral("«%1» به کار نمي آيد (%2) و کنار گذاشته نمي شود.")
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
    if (!m_db.isOpen())
        throw Error(reason(SQLITE_CANTOPEN));
    // A file that could not be written when it was opened may be writable now (its folder
    // made writable, the disk remounted): every write tries again first. A newer program's
    // file is never written.
    if (isReadOnly()) {
        if (m_newer)
            throw Error(m_readOnlyReason);
        open(m_path);
        if (isReadOnly())
            throw Error(reason(SQLITE_READONLY));
    }
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
    if (!m_db.isOpen())
        throw Error(reason(SQLITE_CANTOPEN));
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
    transaction([&] {
        Query(m_db.handle(), "INSERT OR REPLACE INTO place (slot, kind, number, verse, modified) "
                             "VALUES (?, ?, ?, ?, ?)")
            .bind(1, QString::fromLatin1(slotName(slot)))
            .bind(2, ref)
            .bind(5, now())
            .run();
    });
}

namespace {

// Reads rows into `into` until the statement ends or fails; rows read before a failure stay.
template <typename T, typename Read> void readRows(Query &q, std::vector<T> &into, Read read)
{
    while (q.step())
        into.push_back(read(q));
}

} // namespace

std::vector<ReaderFolder> ReaderStore::folders()
{
    std::vector<ReaderFolder> all;
    Query q(m_db.handle(), select(kFolderColumns, "FROM folder ORDER BY name, id"));
    readRows(q, all, folderAt);
    return all;
}

void ReaderStore::requireFolder(qint64 id)
{
    if (id == 0)
        return;
    Query q(m_db.handle(), "SELECT 1 FROM folder WHERE id = ?");
    q.bind(1, id);
    if (!q.step())
        throw Error(QString::fromUtf8(kNoFolder));
}

qint64 ReaderStore::addFolder(const QString &name, qint64 parent)
{
    qint64 id = 0;
    transaction([&] {
        requireFolder(parent);
        Query(m_db.handle(), "INSERT INTO folder (parent, name, created) VALUES (?, ?, ?)")
            .bind(1, parent)
            .bind(2, name)
            .bind(3, now())
            .run();
        id = sqlite3_last_insert_rowid(m_db.handle());
    });
    return id;
}

void ReaderStore::renameFolder(qint64 id, const QString &name)
{
    transaction([&] {
        Query(m_db.handle(), "UPDATE folder SET name = ? WHERE id = ?")
            .bind(1, name)
            .bind(2, id)
            .run();
    });
}

void ReaderStore::moveFolder(qint64 id, qint64 parent)
{
    transaction([&] {
        requireFolder(parent);
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
    transaction([&] {
        Query(m_db.handle(), "INSERT OR REPLACE INTO setting (key, value) VALUES ('lastFolder', ?)")
            .bind(1, QString::number(folder))
            .run();
    });
}

std::pair<int, int> ReaderStore::folderContents(qint64 id)
{
    Query q(m_db.handle(),
            "WITH RECURSIVE under(id) AS (SELECT id FROM folder WHERE id = ? UNION SELECT "
            "folder.id FROM folder JOIN under ON folder.parent = under.id) SELECT (SELECT "
            "count(*) FROM under), (SELECT count(*) FROM bookmark WHERE folder IN under)");
    q.bind(1, id);
    q.step();
    return {int(q.integer(0)), int(q.integer(1))};
}

std::vector<ReaderBookmark> ReaderStore::bookmarks(Times times)
{
    std::vector<ReaderBookmark> all;
    // In the order of the index that keeps a folder's bookmarks apart: no sorting.
    Query q(m_db.handle(),
            select(kBookmarkColumns, "FROM bookmark ORDER BY folder, kind, number, verse"));
    if (times == Times::Read) {
        readRows(q, all, bookmarkAt);
        return all;
    }
    readRows(q, all, [](const Query &row) {
        ReaderBookmark b;
        b.id = row.integer(0);
        b.folder = row.integer(1);
        b.ref = row.ref(2);
        b.title = row.text(5);
        return b;
    });
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

namespace {

int insertBookmarks(sqlite3 *db, const std::vector<ReaderRef> &refs, qint64 folder)
{
    int added = 0;
    Query insert(db, "INSERT OR IGNORE INTO bookmark (folder, kind, number, verse, created) "
                     "VALUES (?, ?, ?, ?, ?)");
    const QString time = now();
    for (const ReaderRef &ref : refs) {
        insert.bind(1, folder).bind(2, ref).bind(5, time).run();
        added += sqlite3_changes(db);
    }
    return added;
}

} // namespace

int ReaderStore::addBookmarks(const std::vector<ReaderRef> &refs, qint64 folder)
{
    int added = 0;
    transaction([&] {
        requireFolder(folder);
        added = insertBookmarks(m_db.handle(), refs, folder);
    });
    return added;
}

int ReaderStore::addBookmarksToLastFolder(const std::vector<ReaderRef> &refs)
{
    int added = 0;
    transaction([&] { added = insertBookmarks(m_db.handle(), refs, lastFolder()); });
    return added;
}

void ReaderStore::moveBookmarks(const std::vector<qint64> &ids, qint64 folder)
{
    transaction([&] {
        requireFolder(folder);
        moveInto(ids, folder);
    });
}

void ReaderStore::moveInto(const std::vector<qint64> &ids, qint64 folder)
{
    sqlite3 *db = m_db.handle();
    // One the target folder holds already takes the moved one in: the moved one's title joins
    // its own, so no title the reader wrote is dropped.
    Query moved(db, "SELECT kind, number, verse, title FROM bookmark WHERE id = ?");
    Query held(db, "SELECT id, title FROM bookmark WHERE folder = ? AND kind = ? AND number = ? "
                   "AND verse = ? AND id <> ?");
    Query retitle(db, "UPDATE bookmark SET title = ? WHERE id = ?");
    Query drop(db, "DELETE FROM bookmark WHERE id = ?");
    Query move(db, "UPDATE bookmark SET folder = ? WHERE id = ?");
    for (const qint64 id : ids) {
        moved.bind(1, id);
        if (!moved.step()) {
            moved.reset();
            continue;
        }
        const ReaderRef ref = moved.ref(0);
        const QString title = moved.text(3);
        moved.reset();
        held.bind(1, folder).bind(2, ref).bind(5, id);
        if (held.step()) {
            const qint64 keeper = held.integer(0);
            const QString keeperTitle = held.text(1);
            held.reset();
            if (!title.isEmpty() && title != keeperTitle) {
                const QString joined =
                    keeperTitle.isEmpty() ? title : keeperTitle + QStringLiteral(" / ") + title;
                retitle.bind(1, joined).bind(2, keeper).run();
            }
            drop.bind(1, id).run();
        } else {
            held.reset();
            move.bind(1, folder).bind(2, id).run();
        }
    }
}

void ReaderStore::setBookmarkTitle(qint64 id, const QString &title)
{
    transaction([&] {
        Query(m_db.handle(), "UPDATE bookmark SET title = ? WHERE id = ?")
            .bind(1, title)
            .bind(2, id)
            .run();
    });
}

std::vector<ReaderNote> ReaderStore::notes()
{
    std::vector<ReaderNote> all;
    Query q(m_db.handle(),
            select(kNoteColumns, "FROM note ORDER BY kind, number, verse, origin, id"));
    readRows(q, all, noteAt);
    return all;
}

namespace {

// The first `length` code points of text; true when it held more.
bool cutToCodePoints(QString &text, int length)
{
    qsizetype i = 0;
    for (int n = 0; n < length && i < text.size(); ++n)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
    if (i >= text.size())
        return false;
    text.truncate(i);
    return true;
}

} // namespace

std::vector<ReaderNote> ReaderStore::noteHeads(int length)
{
    // One character more than is kept tells a longer text; SQLite reads no further (it counts
    // code points, as the cut does). The times are left out: lists do not show them.
    std::vector<ReaderNote> all;
    Query q(m_db.handle(), "SELECT id, kind, number, verse, substr(text, 1, ?), origin, revision "
                           "FROM note ORDER BY kind, number, verse, origin, id");
    q.bind(1, length + 1);
    readRows(q, all, [length](const Query &row) {
        ReaderNote note;
        note.id = row.integer(0);
        note.ref = row.ref(1);
        note.text = row.text(4);
        note.origin = int(row.integer(5));
        note.revision = row.integer(6);
        note.cut = cutToCodePoints(note.text, length);
        return note;
    });
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

std::optional<ReaderNote> ReaderStore::noteById(qint64 id)
{
    Query q(m_db.handle(), select(kNoteColumns, "FROM note WHERE id = ?"));
    q.bind(1, id);
    if (!q.step())
        return std::nullopt;
    return noteAt(q);
}

std::vector<ReaderNote> ReaderStore::keptNotes(const ReaderRef &ref)
{
    std::vector<ReaderNote> kept;
    Query q(m_db.handle(), select(kNoteColumns, "FROM note WHERE kind = ? AND number = ? AND "
                                                "verse = ? AND origin <> 0 ORDER BY id"));
    q.bind(1, ref);
    readRows(q, kept, noteAt);
    return kept;
}

bool ReaderStore::hasNotes(const ReaderRef &ref)
{
    Query q(m_db.handle(), "SELECT 1 FROM note WHERE kind = ? AND number = ? AND verse = ?");
    q.bind(1, ref);
    return q.step();
}

ReaderStore::NoteSave ReaderStore::saveNote(const ReaderRef &ref, const QString &text,
                                            const NoteBase &base)
{
    return save(ref, 0, text, base);
}

ReaderStore::NoteSave ReaderStore::saveKeptNote(qint64 id, const ReaderRef &ref,
                                                const QString &text, const NoteBase &base)
{
    return save(ref, id, text, base);
}

qint64 ReaderStore::keepOther(const ReaderRef &ref, const QString &text, qint64 keptId)
{
    sqlite3 *db = m_db.handle();
    const QString time = now();
    if (keptId != 0) {
        Query update(db, "UPDATE note SET text = ?, modified = ?, revision = revision + 1 "
                         "WHERE id = ? AND origin = 2 AND kind = ? AND number = ? AND verse = ?");
        update.bind(1, text).bind(2, time).bind(3, keptId).bind(4, ref).run();
        if (sqlite3_changes(db) > 0)
            return keptId;
    }
    Query insert(db, "INSERT INTO note (kind, number, verse, text, created, modified, origin) "
                     "VALUES (?, ?, ?, ?, ?, ?, 2)");
    insert.bind(1, ref).bind(4, text).bind(5, time).bind(6, time).run();
    return sqlite3_last_insert_rowid(db);
}

ReaderStore::NoteSave ReaderStore::save(const ReaderRef &ref, qint64 keptId, const QString &text,
                                        const NoteBase &base)
{
    NoteSave result;
    result.keptId = base.keptId;
    transaction([&] {
        sqlite3 *db = m_db.handle();
        // The note this save goes over, as the store holds it now. A kept note removed
        // meanwhile comes back as a new one with the text.
        const std::optional<ReaderNote> stored = keptId != 0 ? noteById(keptId) : note(ref);
        const bool read = stored && stored->id == base.id && stored->revision == base.revision;
        if (stored && !read && stored->text != text) {
            // Not the text this editor read: it stays, beside, before this save goes in.
            result.keptId = keepOther(stored->ref, stored->text, base.keptId);
            result.keptOther = true;
        }
        const QString time = now();
        if (text.isEmpty()) {
            if (stored)
                Query(db, "DELETE FROM note WHERE id = ?").bind(1, stored->id).run();
            return;
        }
        if (stored) {
            if (stored->text != text || !read) {
                Query(db, "UPDATE note SET text = ?, modified = ?, revision = revision + 1 "
                          "WHERE id = ?")
                    .bind(1, text)
                    .bind(2, time)
                    .bind(3, stored->id)
                    .run();
                result.revision = stored->revision + 1;
            } else {
                result.revision = stored->revision;
            }
            result.id = stored->id;
            return;
        }
        Query(db, "INSERT INTO note (kind, number, verse, text, created, modified, origin, "
                  "revision) VALUES (?, ?, ?, ?, ?, ?, ?, 1)")
            .bind(1, ref)
            .bind(4, text)
            .bind(5, time)
            .bind(6, time)
            .bind(7, keptId != 0 ? qint64(ReaderNote::OtherWindow) : qint64(ReaderNote::Own))
            .run();
        result.id = sqlite3_last_insert_rowid(db);
        result.revision = 1;
    });
    return result;
}

ReaderRemoval ReaderStore::mergeNote(qint64 id)
{
    ReaderRemoval removal;
    transaction([&] {
        sqlite3 *db = m_db.handle();
        const std::optional<ReaderNote> kept = noteById(id);
        if (!kept)
            throw Error(QStringLiteral("اين يادداشت ديگر نيست؛ شايد در پنجره ديگري پاک شده است."));
        if (kept->origin == ReaderNote::Own)
            throw Error(QStringLiteral("اين يادداشت خود يادداشت شماست."));
        const QString time = now();
        ReaderNote before;
        if (const std::optional<ReaderNote> own = note(kept->ref)) {
            before = *own;
            const QString joined = own->text.endsWith(QLatin1Char('\n'))
                                       ? own->text + QLatin1Char('\n') + kept->text
                                       : own->text + QStringLiteral("\n\n") + kept->text;
            Query(db, "UPDATE note SET text = ?, modified = ?, revision = revision + 1 "
                      "WHERE id = ?")
                .bind(1, joined)
                .bind(2, time)
                .bind(3, own->id)
                .run();
            before.revision = own->revision + 1;
        } else {
            // No note of the reader's own before: undoing removes the one made here.
            Query(db, "INSERT INTO note (kind, number, verse, text, created, modified, origin, "
                      "revision) VALUES (?, ?, ?, ?, ?, ?, 0, 1)")
                .bind(1, kept->ref)
                .bind(4, kept->text)
                .bind(5, time)
                .bind(6, time)
                .run();
            before.id = sqlite3_last_insert_rowid(db);
            before.ref = kept->ref;
            before.revision = 1;
        }
        removal.changedNotes.push_back(before);
        removal.notes.push_back(*kept);
        Query(db, "DELETE FROM note WHERE id = ?").bind(1, id).run();
    });
    return removal;
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
        readRows(q, removed.bookmarks, bookmarkAt);
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
        readRows(folders, removed.folders, folderAt);
        if (removed.folders.empty())
            return;
        std::vector<qint64> ids;
        for (const ReaderFolder &f : removed.folders)
            ids.push_back(f.id);
        const QByteArray in = "(" + idList(ids) + ")";
        Query marks(db, select(kBookmarkColumns, "FROM bookmark WHERE folder IN " + in));
        readRows(marks, removed.bookmarks, bookmarkAt);
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
        readRows(q, removed.notes, noteAt);
        exec(m_db.handle(), "DELETE FROM note WHERE id IN " + in);
    });
    return removed;
}

void ReaderStore::restore(const ReaderRemoval &removed)
{
    transaction([&] {
        sqlite3 *db = m_db.handle();
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
        const QString time = now();
        // A changed note's text comes back while nobody saved it since; else it stands beside.
        for (const ReaderNote &c : removed.changedNotes) {
            const std::optional<ReaderNote> current = noteById(c.id);
            if (current && current->revision == c.revision) {
                if (c.text.isEmpty())
                    Query(db, "DELETE FROM note WHERE id = ?").bind(1, c.id).run();
                else
                    Query(db, "UPDATE note SET text = ?, modified = ?, revision = revision + 1 "
                              "WHERE id = ?")
                        .bind(1, c.text)
                        .bind(2, time)
                        .bind(3, c.id)
                        .run();
            } else if (!c.text.isEmpty()) {
                keepOther(c.ref, c.text, 0);
            }
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

ReaderContents ReaderStore::contents()
{
    ReaderContents all;
    // One read transaction: one snapshot, whatever another program writes meanwhile.
    exec(m_db.handle(), "BEGIN");
    try {
        all.folders = folders();
        all.bookmarks = bookmarks();
        all.notes = notes();
        all.quran = place(Slot::Quran);
        all.nahj = place(Slot::Nahj);
        exec(m_db.handle(), "COMMIT");
    } catch (...) {
        rollback();
        throw;
    }
    std::sort(all.folders.begin(), all.folders.end(),
              [](const ReaderFolder &a, const ReaderFolder &b) { return a.id < b.id; });
    return all;
}

namespace {

// The contents' folders, parents before their folders, each with the parent it goes under:
// one the contents do not hold, or a loop of parents, puts a folder at the top.
std::vector<std::pair<size_t, qint64>> folderOrder(const std::vector<ReaderFolder> &folders,
                                                   int &unplaced)
{
    QHash<qint64, size_t> index;
    for (size_t i = 0; i < folders.size(); ++i)
        index.insert(folders[i].id, i);
    QHash<qint64, std::vector<size_t>> children;
    std::vector<std::pair<size_t, qint64>> order;
    std::vector<bool> placed(folders.size());
    for (size_t i = 0; i < folders.size(); ++i) {
        if (folders[i].parent != 0 && index.contains(folders[i].parent))
            children[folders[i].parent].push_back(i);
    }
    for (auto &siblings : children)
        std::sort(siblings.begin(), siblings.end(),
                  [&](size_t a, size_t b) { return folders[a].id < folders[b].id; });
    std::vector<size_t> byId(folders.size());
    for (size_t i = 0; i < folders.size(); ++i)
        byId[i] = i;
    std::sort(byId.begin(), byId.end(),
              [&](size_t a, size_t b) { return folders[a].id < folders[b].id; });
    auto placeUnder = [&](size_t top) {
        // Breadth first from a folder put at the top.
        const size_t first = order.size();
        order.push_back({top, 0});
        placed[top] = true;
        for (size_t next = first; next < order.size(); ++next) {
            const auto it = children.constFind(folders[order[next].first].id);
            if (it == children.constEnd())
                continue;
            for (const size_t child : *it) {
                if (!placed[child]) {
                    placed[child] = true;
                    order.push_back({child, folders[order[next].first].id});
                }
            }
        }
    };
    for (const size_t i : byId) {
        if (folders[i].parent == 0)
            placeUnder(i);
    }
    for (const size_t i : byId) {
        if (!placed[i]) {
            ++unplaced;
            placeUnder(i);
        }
    }
    return order;
}

} // namespace

ReaderStore::MergeReport ReaderStore::merge(const ReaderContents &contents)
{
    MergeReport report;
    transaction([&] {
        sqlite3 *db = m_db.handle();
        // The contents' folders of one name under one parent match the store's of that name
        // under the matching parent one to one, in the order of their ids; what is left over
        // is made.
        QHash<qint64, qint64> folderOf{{0, 0}};
        QHash<QPair<qint64, QString>, qint64> matched;
        Query findFolder(db, "SELECT id FROM folder WHERE parent = ? AND name = ? "
                             "ORDER BY id LIMIT 1 OFFSET ?");
        Query addFolder(db, "INSERT INTO folder (parent, name, created) VALUES (?, ?, ?)");
        for (const auto &[i, fileParent] : folderOrder(contents.folders, report.unplaced)) {
            const ReaderFolder &folder = contents.folders[i];
            const qint64 parent = folderOf.value(fileParent);
            qint64 &seen = matched[qMakePair(parent, folder.name)];
            findFolder.bind(1, parent).bind(2, folder.name).bind(3, seen++);
            const bool found = findFolder.step();
            const qint64 id = found ? findFolder.integer(0) : 0;
            findFolder.reset();
            if (found) {
                folderOf.insert(folder.id, id);
                continue;
            }
            addFolder.bind(1, parent).bind(2, folder.name).bind(3, timeText(folder.created)).run();
            folderOf.insert(folder.id, sqlite3_last_insert_rowid(db));
            ++report.folders;
        }

        Query addMark(db, "INSERT OR IGNORE INTO bookmark (folder, kind, number, verse, title, "
                          "created) VALUES (?, ?, ?, ?, ?, ?)");
        for (const ReaderBookmark &mark : contents.bookmarks) {
            const auto folder = folderOf.constFind(mark.folder);
            if (folder == folderOf.constEnd())
                ++report.unplaced;
            addMark.bind(1, folder == folderOf.constEnd() ? 0 : *folder)
                .bind(2, mark.ref)
                .bind(5, mark.title)
                .bind(6, timeText(mark.created))
                .run();
            if (sqlite3_changes(db) > 0)
                ++report.bookmarks;
            else
                ++report.skipped;
        }

        std::set<ReaderRef> notedBefore;
        for (const ReaderRef &ref : notedRefs())
            notedBefore.insert(ref);
        Query onRef(db, "SELECT text, origin FROM note WHERE kind = ? AND number = ? AND "
                        "verse = ?");
        Query addNote(db, "INSERT INTO note (kind, number, verse, text, created, modified, "
                          "origin) VALUES (?, ?, ?, ?, ?, ?, ?)");
        // The reader's own notes first, so that they take the references' own places.
        std::vector<const ReaderNote *> notes;
        for (const ReaderNote &note : contents.notes) {
            if (note.origin == ReaderNote::Own)
                notes.push_back(&note);
        }
        for (const ReaderNote &note : contents.notes) {
            if (note.origin != ReaderNote::Own)
                notes.push_back(&note);
        }
        for (const ReaderNote *note : notes) {
            bool same = note->text.isEmpty();
            bool ownTaken = false;
            onRef.bind(1, note->ref);
            while (!same && onRef.step()) {
                same = onRef.text(0) == note->text;
                ownTaken = ownTaken || onRef.integer(1) == ReaderNote::Own;
            }
            onRef.reset();
            if (same) {
                ++report.skipped;
                continue;
            }
            const int origin =
                note->origin == ReaderNote::Own && ownTaken ? int(ReaderNote::Imported)
                : note->origin >= ReaderNote::Own && note->origin <= ReaderNote::OtherWindow
                    ? note->origin
                    : int(ReaderNote::Imported);
            addNote.bind(1, note->ref)
                .bind(4, note->text)
                .bind(5, timeText(note->created))
                .bind(6, timeText(note->modified))
                .bind(7, origin)
                .run();
            ++report.notes;
            if (notedBefore.count(note->ref) > 0)
                ++report.keptBeside;
        }

        Query setPlace(db, "INSERT OR IGNORE INTO place (slot, kind, number, verse, modified) "
                           "VALUES (?, ?, ?, ?, ?)");
        const std::pair<Slot, std::optional<ReaderRef>> places[] = {{Slot::Quran, contents.quran},
                                                                    {Slot::Nahj, contents.nahj}};
        for (const auto &[slot, ref] : places) {
            if (!ref)
                continue;
            setPlace.bind(1, QString::fromLatin1(slotName(slot))).bind(2, *ref).bind(5, now());
            setPlace.run();
            report.places += sqlite3_changes(db);
        }
    });
    return report;
}

ReaderContents ReaderStore::readFile(const QString &path, bool *damaged)
{
    // A private copy with its journal: the file itself is never opened for writing, and the
    // copy's journal is taken into it as any opening would.
    QTemporaryDir dir;
    if (!dir.isValid())
        throw Error(QStringLiteral("پوشه موقتي براي خواندن پرونده ساخته نمي شود."));
    const QString copy = dir.filePath(QStringLiteral("reader.db"));
    if (!QFile::copy(path, copy))
        throw Error(
            QStringLiteral("پرونده «%1» خوانده نمي شود.").arg(QDir::toNativeSeparators(path)));
    if (QFileInfo::exists(path + QStringLiteral("-wal")))
        QFile::copy(path + QStringLiteral("-wal"), copy + QStringLiteral("-wal"));
    const QString notReader = QStringLiteral("اين پرونده، پايگاه يادداشت هاي ورتانس نيست.");
    ReaderStore store;
    try {
        store.m_db.open(QFile::encodeName(copy), SQLITE_OPEN_READWRITE);
        sqlite3_extended_result_codes(store.m_db.handle(), 1);
        Query tables(store.m_db.handle(), "SELECT count(*) FROM sqlite_master WHERE type = "
                                          "'table' AND name IN ('folder', 'bookmark', 'note')");
        tables.step();
        if (tables.integer(0) != 3)
            throw Error(notReader);
    } catch (const Error &) {
        throw Error(notReader);
    }
    // Table by table: what a damaged one still gives before its damage is kept.
    ReaderContents all;
    bool lost = false;
    sqlite3 *db = store.m_db.handle();
    auto read = [&](auto &&work) {
        try {
            work();
        } catch (const Error &) {
            lost = true;
        }
    };
    read([&] {
        Query q(db, select(kFolderColumns, "FROM folder ORDER BY id"));
        readRows(q, all.folders, folderAt);
    });
    read([&] {
        Query q(db, select(kBookmarkColumns, "FROM bookmark ORDER BY id"));
        readRows(q, all.bookmarks, bookmarkAt);
    });
    read([&] {
        Query q(db, select(kNoteColumns, "FROM note ORDER BY id"));
        readRows(q, all.notes, noteAt);
    });
    read([&] {
        all.quran = store.place(Slot::Quran);
        all.nahj = store.place(Slot::Nahj);
    });
    if (damaged)
        *damaged = lost;
    return all;
}
