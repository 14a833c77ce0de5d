#include "platform/Error.h"
#include "reader/ReaderStore.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
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
            QCOMPARE(store.saveNote(kThrone, QStringLiteral("آية الكرسي\nيادداشت"), 0).revision, 1);
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
        store.saveNote(kThrone, hostile, 0);
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
        store.moveBookmarks({inB}, a); // a holds it already: one is left
        QCOMPARE(int(store.bookmarks().size()), 1);
        QCOMPARE(store.bookmarks().at(0).id, inA);
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
        store.saveNote(kThrone, QStringLiteral("نخست"), 0);
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
        store.saveNote(kThrone, QStringLiteral("دوم"), 0);
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

        const qint64 base = one.saveNote(kSermon27, QStringLiteral("از يکم"), 0).revision;
        QCOMPARE(two.note(kSermon27)->revision, base);
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
                store.saveNote(ReaderRef::ofVerse(sura, v), QString::number(v), 0);
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
        QTest::newRow("newer schema") << "newer";
    }
    void unusableFilesAreMovedAside()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral("/reader.db"));
        {
            ReaderStore store;
            store.open(path);
            for (int v = 1; v <= 200; ++v)
                store.saveNote(ReaderRef::ofVerse(2, v), QString(400, QChar(0x0628)), 0);
            if (kind == QLatin1String("newer"))
                store.connection().exec("PRAGMA user_version=7");
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
        store.saveNote(kThrone, QStringLiteral("تازه"), 0);
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
                }).contains(QStringLiteral("Cannot create folder")));
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
        const qint64 revision = store.saveNote(kThrone, kept, 0).revision;
        QVERIFY(writeBytes(mount + QStringLiteral("/fill"), QByteArray(1024 * 1024, 'x')) == false);
        QVERIFY(!errorOf([&] {
                     store.saveNote(kThrone, QString(100000, QChar(0x0645)), revision);
                 }).isEmpty());
        QCOMPARE(store.note(kThrone)->text, kept);
        QFile::remove(mount + QStringLiteral("/fill"));
        QVERIFY(
            errorOf([&] { store.saveNote(kThrone, QStringLiteral("بعد"), revision); }).isEmpty());
        store.close();

        asRoot(QStringLiteral("mount -o remount,ro '%1'").arg(mount));
        ReaderStore readOnly;
        QVERIFY(!errorOf([&] { readOnly.open(path); }).isEmpty());
        QVERIFY(readOnly.movedAside().isEmpty()); // a folder it cannot write is no damage
        asRoot(QStringLiteral("mount -o remount,rw '%1'").arg(mount));
        ReaderStore back;
        back.open(path);
        QCOMPARE(back.note(kThrone)->text, QStringLiteral("بعد"));
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
