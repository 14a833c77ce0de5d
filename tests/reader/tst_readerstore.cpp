#include "platform/Error.h"
#include "reader/ReaderStore.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace {

const ReaderRef kThrone = ReaderRef::ofVerse(2, 255);
const ReaderRef kSermon27 = ReaderRef::ofNahj(1, 27);

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs a shell command as root; false (and the test skips) for anyone else.
bool asRoot(const QString &command)
{
    return geteuid() == 0 && QProcess::execute(QStringLiteral("sh"), {"-c", command}) == 0;
}

// A message for the reader: Persian letters, and no English word.
bool isPersian(const QString &message)
{
    static const QRegularExpression arabicScript(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{3,}"));
    return message.contains(arabicScript) && !message.contains(latinWord);
}

QStringList textsOf(ReaderStore &store)
{
    QStringList texts;
    for (const ReaderNote &n : store.notes())
        texts << n.text;
    texts.sort();
    return texts;
}

} // namespace

class tst_ReaderStore : public QObject {
    Q_OBJECT

private slots:
    // Each case on a folder of its own.
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_dir = QDir(m_temp->path());
    }

    void entriesSurviveReopening()
    {
        const QString path = m_dir.filePath(QStringLiteral("a/reader.db"));
        {
            ReaderStore store;
            store.open(path); // the folder is made
            const qint64 folder = store.addFolder(QStringLiteral("روزانه"), 0);
            QCOMPARE(store.addBookmarks({kThrone, kThrone, kSermon27}, folder), 2);
            store.addBookmark(kThrone, folder); // again: still one in that folder
            store.addBookmark(kThrone, 0);      // another folder holds its own
            store.setLastFolder(folder);
            QCOMPARE(store.saveNote(kThrone, QStringLiteral("آية الكرسي\nيادداشت")).revision, 1);
            store.setPlace(ReaderStore::Slot::Quran, kThrone);
            store.setPlace(ReaderStore::Slot::Nahj, kSermon27);
        }
        ReaderStore store;
        store.open(path);
        QVERIFY(store.movedAside().isEmpty());
        QCOMPARE(int(store.bookmarks().size()), 3);
        QCOMPARE(store.lastFolder(), store.folders().at(0).id);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("آية الكرسي\nيادداشت"));
        QCOMPARE(*store.place(ReaderStore::Slot::Quran), kThrone);
        QCOMPARE(*store.place(ReaderStore::Slot::Nahj), kSermon27);
        Query journal(store);
        QCOMPARE(journal.text("PRAGMA journal_mode"), QStringLiteral("wal"));
        QCOMPARE(journal.text("PRAGMA synchronous"), QStringLiteral("2")); // FULL
        QCOMPARE(journal.text("PRAGMA user_version"), QString::number(ReaderStore::SchemaVersion));
    }

    // Typed text is data, whatever it holds.
    void typedTextStaysData()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const QString hostile = QStringLiteral("x'); DROP TABLE note; --\u0000\u202B%_");
        const qint64 folder = store.addFolder(hostile, 0);
        store.saveNote(kThrone, hostile);
        QCOMPARE(store.folders().at(0).name, hostile);
        QCOMPARE(store.note(kThrone)->text, hostile);
        QCOMPARE(store.folders().at(0).id, folder);
    }

    void movesMergeAndFoldersNest()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const qint64 a = store.addFolder(QStringLiteral("الف"), 0);
        const qint64 b = store.addFolder(QStringLiteral("ب"), a);
        const qint64 inA = store.addBookmark(kThrone, a);
        const qint64 inB = store.addBookmark(kThrone, b);
        store.setBookmarkTitle(inA, QStringLiteral("شب"));
        store.setBookmarkTitle(inB, QStringLiteral("صبح"));
        store.moveBookmarks({inB}, a); // a holds it already: one is left, with both titles
        QCOMPARE(int(store.bookmarks().size()), 1);
        QCOMPARE(store.bookmarks().at(0).id, inA);
        QCOMPARE(store.bookmarks().at(0).title, QStringLiteral("شب / صبح"));
        const qint64 untitled = store.addBookmark(kThrone, b);
        store.moveBookmarks({untitled}, a); // nothing to add: the title stays as it was
        QCOMPARE(store.bookmarks().at(0).title, QStringLiteral("شب / صبح"));
        QVERIFY(!errorOf([&] { store.moveFolder(a, b); }).isEmpty()); // into its own folder
        QVERIFY(errorOf([&] { store.moveFolder(b, 0); }).isEmpty());
    }

    void removalsComeBack()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const qint64 top = store.addFolder(QStringLiteral("بالا"), 0);
        const qint64 inner = store.addFolder(QStringLiteral("درون"), top);
        store.addBookmark(kThrone, top);
        store.addBookmark(kSermon27, inner);
        store.addBookmark(ReaderRef::ofVerse(1, 1), 0);
        store.saveNote(kThrone, QStringLiteral("نخست"));
        const auto before = store.bookmarks();

        const ReaderRemoval folder = store.removeFolder(top);
        QCOMPARE(int(folder.folders.size()), 2);
        QCOMPARE(int(folder.bookmarks.size()), 2);
        QCOMPARE(int(store.bookmarks().size()), 1);
        store.restore(folder);
        const auto after = store.bookmarks();
        QCOMPARE(int(after.size()), 3);
        for (size_t i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].id, before[i].id);
            QCOMPARE(after[i].folder, before[i].folder);
            QCOMPARE(after[i].ref, before[i].ref);
        }

        // A note removed, then written again before the removal is undone: both are kept.
        const ReaderRemoval note = store.removeNotes({store.note(kThrone)->id});
        store.saveNote(kThrone, QStringLiteral("دوم"));
        store.restore(note);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("دوم"));
        QCOMPARE(int(store.notes().size()), 2);
    }

    // Two programs on one file: each sees the other's entries, a note written over in both is
    // kept twice, and writes at the same time wait for each other instead of failing.
    void twoProgramsOnOneFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.db"));
        ReaderStore one;
        ReaderStore two;
        one.open(path);
        two.open(path);
        const qint64 seen = two.changeStamp();
        one.addBookmark(kThrone, 0);
        QVERIFY(two.changeStamp() != seen);
        QCOMPARE(int(two.bookmarks().size()), 1);

        const auto base = one.saveNote(kSermon27, QStringLiteral("از يکم")).base();
        QCOMPARE(two.note(kSermon27)->revision, base.revision);
        two.saveNote(kSermon27, QStringLiteral("از دوم"), base);
        const ReaderStore::NoteSave late =
            one.saveNote(kSermon27, QStringLiteral("باز از يکم"), base);
        QVERIFY(late.keptOther);
        QStringList texts;
        for (const ReaderNote &n : one.notes())
            texts << n.text;
        texts.sort();
        QCOMPARE(texts, (QStringList{QStringLiteral("از دوم"), QStringLiteral("باز از يکم")}));

        constexpr int each = 150;
        auto writer = [&path](int sura) {
            ReaderStore store;
            store.open(path);
            for (int v = 1; v <= each; ++v) {
                store.addBookmark(ReaderRef::ofVerse(sura, v), 0);
                store.saveNote(ReaderRef::ofVerse(sura, v), QString::number(v));
            }
        };
        std::exception_ptr failed;
        auto guarded = [&](int sura) {
            try {
                writer(sura);
            } catch (...) {
                failed = std::current_exception();
            }
        };
        std::thread a(guarded, 2);
        std::thread b(guarded, 3);
        a.join();
        b.join();
        QVERIFY(!failed);
        QCOMPARE(int(one.bookmarks().size()), 1 + 2 * each);
    }

    // A damaged file, or one of a newer program, is never changed: it is moved aside whole, and
    // a fresh file takes its place.
    void unusableFilesAreMovedAside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no database") << "garbage";
        QTest::newRow("damaged page") << "damaged";
    }
    void unusableFilesAreMovedAside()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral("/reader.db"));
        {
            ReaderStore store;
            store.open(path);
            for (int v = 1; v <= 200; ++v)
                store.saveNote(ReaderRef::ofVerse(2, v), QString(400, QChar(0x0628)));
            store.connection().exec("PRAGMA wal_checkpoint(TRUNCATE)");
        }
        QByteArray bytes = bytesOf(path);
        if (kind == QLatin1String("garbage"))
            bytes = QByteArray("no database at all\n").repeated(100);
        else if (kind == QLatin1String("damaged"))
            bytes.replace(bytes.size() / 2, 4096, QByteArray(4096, '\xA5'));
        QVERIFY(writeBytes(path, bytes));

        ReaderStore store;
        store.open(path);
        QVERIFY(store.movedAside().startsWith(path + QStringLiteral(".damaged-")));
        QCOMPARE(bytesOf(store.movedAside()), bytes);
        QVERIFY(store.notes().empty());
        store.saveNote(kThrone, QStringLiteral("تازه"));
        ReaderStore again;
        again.open(path);
        QVERIFY(again.movedAside().isEmpty());
        QCOMPARE(again.note(kThrone)->text, QStringLiteral("تازه"));
    }

    void folderThatCannotBeMade()
    {
        QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("file")), "x"));
        ReaderStore store;
        QVERIFY(errorOf([&] {
                    store.open(m_dir.filePath(QStringLiteral("file/reader.db")));
                }).contains(QStringLiteral("ساخته نمي شود")));
        QVERIFY(!store.isOpen());
    }

    // A full disk fails the save and keeps what was saved before; once there is room, the same
    // store saves again. A read-only folder is refused at the opening.
    void fullAndReadOnlyDisks()
    {
        const QString mount = m_dir.filePath(QStringLiteral("small"));
        QDir().mkpath(mount);
        if (!asRoot(QStringLiteral("mount -t tmpfs -o size=256k tmpfs '%1'").arg(mount)))
            QSKIP("needs root to mount a small file system");
        auto unmount = qScopeGuard([&] { asRoot(QStringLiteral("umount '%1'").arg(mount)); });
        const QString path = mount + QStringLiteral("/reader.db");
        ReaderStore store;
        store.open(path);
        const QString kept = QStringLiteral("يادداشت نگه داشته");
        const auto revision = store.saveNote(kThrone, kept).base();
        QVERIFY(writeBytes(mount + QStringLiteral("/fill"), QByteArray(1024 * 1024, 'x')) == false);
        QVERIFY(!errorOf([&] {
                     store.saveNote(kThrone, QString(100000, QChar(0x0645)), revision);
                 }).isEmpty());
        QCOMPARE(store.note(kThrone)->text, kept);
        QFile::remove(mount + QStringLiteral("/fill"));
        QVERIFY(
            errorOf([&] { store.saveNote(kThrone, QStringLiteral("بعد"), revision); }).isEmpty());
        store.close();

        // Read-only: what is there is read, a write is refused in Persian, and once the disk
        // can be written again the same store writes.
        asRoot(QStringLiteral("mount -o remount,ro '%1'").arg(mount));
        ReaderStore readOnly;
        readOnly.open(path);
        QVERIFY(readOnly.isReadOnly());
        QVERIFY(readOnly.movedAside().isEmpty()); // a folder it cannot write is no damage
        QCOMPARE(readOnly.note(kThrone)->text, QStringLiteral("بعد"));
        const QString refused = errorOf([&] { readOnly.saveNote(kThrone, QStringLiteral("x")); });
        QVERIFY2(isPersian(refused), qPrintable(refused));
        asRoot(QStringLiteral("mount -o remount,rw '%1'").arg(mount));
        const ReaderNote before = *readOnly.note(kThrone);
        readOnly.saveNote(kThrone, QStringLiteral("نوشتني شد"), {before.id, before.revision, 0});
        QVERIFY(!readOnly.isReadOnly());
        ReaderStore back;
        back.open(path);
        QCOMPARE(back.note(kThrone)->text, QStringLiteral("نوشتني شد"));
        back.close();
        readOnly.close();

        // A first start on a full disk: the opening fails in Persian and leaves nothing open;
        // with room again, the next opening makes the store.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        QVERIFY(!writeBytes(mount + QStringLiteral("/fill"), QByteArray(1024 * 1024, 'x')));
        ReaderStore first;
        const QString full = errorOf([&] { first.open(path); });
        QVERIFY2(isPersian(full), qPrintable(full));
        QVERIFY(!first.isOpen());
        QFile::remove(mount + QStringLiteral("/fill"));
        first.open(path);
        first.addBookmark(kThrone, 0);
        QCOMPARE(int(first.bookmarks().size()), 1);
    }

    // A note's identity never repeats: an editor that read a note another window has since
    // removed and written anew never writes over the new text, and says it kept it.
    void staleEditorNeverOverwrites()
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.db"));
        ReaderStore a;
        ReaderStore b;
        a.open(path);
        b.open(path);
        const ReaderStore::NoteBase first = a.saveNote(kThrone, QStringLiteral("نخست")).base();
        const ReaderNote read = *b.note(kThrone); // window B opens the note: revision 1
        QCOMPARE(read.revision, 1);
        const ReaderStore::NoteSave cleared = a.saveNote(kThrone, QString(), first);
        QCOMPARE(cleared.id, 0);
        const ReaderStore::NoteSave rewritten = a.saveNote(kThrone, QStringLiteral("تازه از A"));
        QCOMPARE(rewritten.revision, 1); // revision 1 again, but another note
        QVERIFY(rewritten.id != read.id);
        const ReaderStore::NoteSave late =
            b.saveNote(kThrone, QStringLiteral("نخست و واژه B"), {read.id, read.revision, 0});
        QVERIFY(late.keptOther);
        QCOMPARE(textsOf(a),
                 (QStringList{QStringLiteral("تازه از A"), QStringLiteral("نخست و واژه B")}));
        QCOMPARE(a.note(kThrone)->text, QStringLiteral("نخست و واژه B"));
        QCOMPARE(a.keptNotes(kThrone).at(0).text, QStringLiteral("تازه از A"));

        // An editor that clears a note it never read keeps the other window's text too.
        const ReaderNote now = *b.note(kThrone);
        a.saveNote(kThrone, QStringLiteral("باز از A"), {now.id, now.revision, 0});
        b.saveNote(kThrone, QString(), late.base());
        QVERIFY(textsOf(a).contains(QStringLiteral("باز از A")));
        QVERIFY(!a.note(kThrone)); // the clear went in: no note of the reader's own
        QVERIFY(a.hasNotes(kThrone));

        // A note removed under an editor comes back with the editor's text.
        const ReaderStore::NoteSave own = a.saveNote(kSermon27, QStringLiteral("خطبه"));
        b.removeNotes({own.id});
        const ReaderStore::NoteSave back =
            a.saveNote(kSermon27, QStringLiteral("خطبه بيست و هفتم"), own.base());
        QVERIFY(!back.keptOther && back.id != own.id);
        QCOMPARE(b.note(kSermon27)->text, QStringLiteral("خطبه بيست و هفتم"));
    }

    // Two windows typing in one note, their saves alternating: the later save wins, and each
    // editor keeps the other's latest text in one note of its own, not a new one per save.
    void alternatingSavesKeepOneCopyEach()
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.db"));
        ReaderStore a;
        ReaderStore b;
        a.open(path);
        b.open(path);
        ReaderStore::NoteBase baseA;
        ReaderStore::NoteBase baseB;
        QString lastA;
        QString lastB;
        for (int i = 1; i <= 20; ++i) {
            lastA = QStringLiteral("A %1").arg(i);
            baseA = a.saveNote(kThrone, lastA, baseA).base();
            lastB = QStringLiteral("B %1").arg(i);
            baseB = b.saveNote(kThrone, lastB, baseB).base();
        }
        const QStringList texts = textsOf(a);
        QVERIFY2(texts.size() <= 3, qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(a.note(kThrone)->text, lastB);
        QVERIFY(texts.contains(lastA));
    }

    // Notes kept beside the reader's own are read whole, edited, merged into the own note and
    // put back; the mark stays while any note remains.
    void keptNotesReadEditMerge()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const ReaderStore::NoteSave own = store.saveNote(kThrone, QStringLiteral("از خودم"));
        const QString long300 = QString(300, QChar(0x0628)) + QStringLiteral(" پايان");
        ReaderContents imported;
        ReaderNote note;
        note.ref = kThrone;
        note.text = long300;
        note.created = note.modified = QDateTime::currentDateTimeUtc();
        imported.notes.push_back(note);
        QCOMPARE(store.merge(imported).keptBeside, 1);
        const std::vector<ReaderNote> kept = store.keptNotes(kThrone);
        QCOMPARE(int(kept.size()), 1);
        QCOMPARE(kept[0].origin, int(ReaderNote::Imported));
        QCOMPARE(store.noteById(kept[0].id)->text, long300);

        const ReaderStore::NoteSave edited = store.saveKeptNote(
            kept[0].id, kThrone, long300 + QStringLiteral("!"), {kept[0].id, kept[0].revision, 0});
        QCOMPARE(edited.id, kept[0].id);
        QCOMPARE(store.noteById(kept[0].id)->origin, int(ReaderNote::Imported));

        store.saveNote(kThrone, QString(), own.base()); // the own note emptied
        QVERIFY(!store.note(kThrone));
        QVERIFY(store.hasNotes(kThrone));

        store.saveNote(kThrone, QStringLiteral("دوباره از خودم"));
        const ReaderRemoval merged = store.mergeNote(kept[0].id);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("دوباره از خودم\n\n") + long300 + "!");
        QVERIFY(store.keptNotes(kThrone).empty());
        store.restore(merged);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("دوباره از خودم"));
        QCOMPARE(store.keptNotes(kThrone).at(0).text, long300 + "!");

        // Merged where there was no own note: undoing takes the made one away again.
        store.removeNotes({store.note(kThrone)->id});
        const ReaderRemoval made = store.mergeNote(kept[0].id);
        QCOMPARE(store.note(kThrone)->text, long300 + "!");
        store.restore(made);
        QVERIFY(!store.note(kThrone));
        QCOMPARE(int(store.keptNotes(kThrone).size()), 1);
    }

    // A folder removed by another window is never filed into: the store refuses in Persian, or
    // (for the folder used last) files at the top. What an older program left under a missing
    // folder comes back to the top when the store opens, titles kept.
    void foldersGoneMeanwhile()
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.db"));
        ReaderStore one;
        ReaderStore two;
        one.open(path);
        two.open(path);
        const qint64 folder = one.addFolder(QStringLiteral("روزانه"), 0);
        one.setLastFolder(folder);
        const qint64 mark = one.addBookmark(kThrone, 0);
        two.removeFolder(folder);
        for (const auto &refused : std::vector<std::function<void()>>{
                 [&] { one.addFolder(QStringLiteral("درون"), folder); },
                 [&] { one.moveBookmarks({mark}, folder); },
                 [&] { one.addBookmarks({kSermon27}, folder); },
                 [&] { one.moveFolder(one.addFolder(QStringLiteral("ديگر"), 0), folder); }}) {
            const QString error = errorOf(refused);
            QVERIFY2(isPersian(error), qPrintable(error));
        }
        QCOMPARE(one.addBookmarksToLastFolder({kSermon27}), 1);
        for (const ReaderBookmark &b : one.bookmarks())
            QCOMPARE(b.folder, qint64(0));

        // Orphans as an older program could leave them.
        one.setBookmarkTitle(mark, QStringLiteral("بالا"));
        one.connection().exec("INSERT INTO bookmark (folder, kind, number, verse, title, created) "
                              "VALUES (99, 0, 2, 255, 'گم شده', '2026-01-01T00:00:00.000Z');"
                              "INSERT INTO folder (parent, name, created) VALUES "
                              "(98, 'يتيم', '2026-01-01T00:00:00.000Z')");
        one.close();
        two.close();
        ReaderStore again;
        again.open(path);
        QCOMPARE(int(again.bookmarks().size()), 2);
        for (const ReaderBookmark &b : again.bookmarks()) {
            QCOMPARE(b.folder, qint64(0));
            if (b.ref == kThrone)
                QCOMPARE(b.title, QStringLiteral("بالا / گم شده"));
        }
        for (const ReaderFolder &f : again.folders())
            QCOMPARE(f.parent, qint64(0));
    }

    // A file a newer program wrote is read, never written and never moved, and the message
    // names the version that wrote it.
    void newerFileIsReadOnly()
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.db"));
        {
            ReaderStore store;
            store.open(path);
            store.saveNote(kThrone, QStringLiteral("از نسخه تازه"));
            store.connection().exec("PRAGMA user_version=7; UPDATE setting SET value = '9.1' "
                                    "WHERE key = 'program'; PRAGMA wal_checkpoint(TRUNCATE)");
        }
        const QByteArray bytes = bytesOf(path);
        ReaderStore store;
        store.open(path);
        QVERIFY(store.isReadOnly());
        QVERIFY(store.movedAside().isEmpty());
        QVERIFY2(store.readOnlyReason().contains(QStringLiteral("9.1")),
                 qPrintable(store.readOnlyReason()));
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("از نسخه تازه"));
        QVERIFY(errorOf([&] { store.addBookmark(kThrone, 0); }).contains(QStringLiteral("9.1")));
        store.close();
        QCOMPARE(bytesOf(path), bytes);
    }

    // Note heads are cut between code points: a note holding emoji never ends in half of one.
    void noteHeadsKeepWholeCharacters()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const QString face = QString::fromUcs4(U"\U0001F600");
        store.saveNote(kThrone, QString(9, QLatin1Char('a')) + face + face + QStringLiteral("z"));
        const ReaderNote head = store.noteHeads(10).at(0);
        QVERIFY(head.cut);
        QCOMPARE(head.text, QString(9, QLatin1Char('a')) + face);
        store.saveNote(kSermon27, face.repeated(10));
        for (const ReaderNote &n : store.noteHeads(10)) {
            if (n.ref == kSermon27) {
                QVERIFY(!n.cut);
                QCOMPARE(n.text, face.repeated(10));
            }
        }
    }

    // What SQLite says reaches the reader in Persian.
    void errorsAreTold()
    {
        for (const int code : {SQLITE_FULL, SQLITE_READONLY, SQLITE_IOERR_WRITE, SQLITE_BUSY,
                               SQLITE_CORRUPT, SQLITE_CANTOPEN, SQLITE_NOMEM, SQLITE_MISMATCH})
            QVERIFY2(isPersian(ReaderStore::reason(code)), qPrintable(ReaderStore::reason(code)));
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        store.connection().exec("PRAGMA query_only=1");
        const QString error = errorOf([&] { store.saveNote(kThrone, QStringLiteral("x")); });
        QVERIFY2(isPersian(error), qPrintable(error));
    }

private:
    // Reads one value of a statement straight from the store's connection.
    class Query {
    public:
        explicit Query(ReaderStore &store)
            : m_db(store.connection().handle())
        {
        }
        QString text(const char *sql)
        {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr);
            QString value;
            if (sqlite3_step(stmt) == SQLITE_ROW)
                value =
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
            sqlite3_finalize(stmt);
            return value;
        }

    private:
        sqlite3 *m_db;
    };

    std::unique_ptr<QTemporaryDir> m_temp;
    QDir m_dir;
};

QTEST_GUILESS_MAIN(tst_ReaderStore)
#include "tst_readerstore.moc"
