#include "platform/Error.h"
#include "reader/ReaderExchange.h"
#include "reader/ReaderStore.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const ReaderRef kThrone = ReaderRef::ofVerse(2, 255);
const ReaderRef kSermon27 = ReaderRef::ofNahj(1, 27);
// Texts that must come back as they went: NUL, other control characters, direction marks.
const QString kOdd = QStringLiteral("a\u0000b\u0001\t\"\\\u200F\u202Bمتن\u202C\n");

// Nahj items beyond the sermons' count do not exist.
bool exists(const ReaderRef &ref)
{
    return ref.kind != ReaderRef::Sermon || ref.number <= 241;
}

QString timeOf(const QDateTime &time)
{
    return ReaderStore::timeText(time);
}

// Every entry of the store as a line, sorted: ids aside (folders by their path of names), or
// with every id and revision.
QStringList entries(ReaderStore &store, bool withIds = false)
{
    QHash<qint64, ReaderFolder> folders;
    for (const ReaderFolder &f : store.folders())
        folders.insert(f.id, f);
    auto pathOf = [&](qint64 id) {
        QString path;
        for (int depth = 0; id != 0 && depth < 100; ++depth) {
            path.prepend(QLatin1Char('/') + folders.value(id).name);
            id = folders.value(id).parent;
        }
        return path;
    };
    auto ref = [](const ReaderRef &r) {
        return QStringLiteral("%1:%2:%3").arg(r.kind).arg(r.number).arg(r.verse);
    };
    auto ids = [&](std::initializer_list<qint64> list) {
        QString text;
        for (const qint64 id : list)
            text += QStringLiteral("#%1").arg(id);
        return withIds ? text : QString();
    };
    QStringList lines;
    for (const ReaderFolder &f : folders)
        lines << QStringLiteral("folder %1 %2 %3")
                     .arg(pathOf(f.id), timeOf(f.created), ids({f.id, f.parent}));
    for (const ReaderBookmark &b : store.bookmarks())
        lines << QStringLiteral("bookmark %1 %2 %3 %4 %5")
                     .arg(pathOf(b.folder), ref(b.ref), b.title, timeOf(b.created), ids({b.id}));
    for (const ReaderNote &n : store.notes())
        lines << QStringLiteral("note %1 %2 %3 %4 %5 %6")
                     .arg(ref(n.ref), n.text, timeOf(n.created), timeOf(n.modified))
                     .arg(n.origin)
                     .arg(ids({n.id, n.revision}));
    for (const auto slot : {ReaderStore::Slot::Quran, ReaderStore::Slot::Nahj}) {
        if (const auto place = store.place(slot))
            lines << QStringLiteral("place %1 %2").arg(int(slot)).arg(ref(*place));
    }
    lines.sort();
    return lines;
}

bool asRoot(const QString &command)
{
    return geteuid() == 0 && QProcess::execute(QStringLiteral("sh"), {"-c", command}) == 0;
}

} // namespace

class tst_ReaderExchange : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_dir = QDir(m_temp->path());
    }

    // Export, then import into an empty store and into the full one itself: the same entries,
    // and nothing twice.
    void roundTrip()
    {
        ReaderStore full;
        full.open(m_dir.filePath(QStringLiteral("full.db")));
        const qint64 top = full.addFolder(kOdd, 0);
        const qint64 inner = full.addFolder(QStringLiteral("درون"), top);
        full.addFolder(QStringLiteral("درون"), 0); // same name at the top: another folder
        full.addBookmark(kSermon27, full.addFolder(QStringLiteral("درون"), top)); // a namesake
        full.addBookmarks({kThrone, kSermon27, ReaderRef::ofNahj(0, 1)}, inner);
        full.addBookmark(kThrone, top);
        full.setBookmarkTitle(full.addBookmark(ReaderRef::ofVerse(114, 6), 0), kOdd);
        full.saveNote(kThrone, kOdd);
        full.saveNote(kSermon27, QStringLiteral("يکم"));
        // Written over from a stale revision: the first text stands beside, as another window's.
        const auto own = full.saveNote(kSermon27, QStringLiteral("دوم")).base();
        full.saveNote(kSermon27, QStringLiteral("سوم"), own);
        full.setPlace(ReaderStore::Slot::Quran, kThrone);
        full.setPlace(ReaderStore::Slot::Nahj, kSermon27);
        const QStringList expected = entries(full);
        const QString file = m_dir.filePath(QStringLiteral("backup.json"));
        ReaderExchange::exportToFile(full, file);

        ReaderStore empty;
        empty.open(m_dir.filePath(QStringLiteral("empty.db")));
        const auto report = ReaderExchange::importFile(empty, file, exists);
        QCOMPARE(entries(empty), expected);
        QCOMPARE(report.folders, 4);
        QCOMPARE(report.bookmarks, 6);
        QCOMPARE(report.notes, 3);
        QCOMPARE(report.places, 2);
        QCOMPARE(report.skipped + report.keptBeside, 0);

        const QStringList fullIds = entries(full, true);
        const auto again = ReaderExchange::importFile(full, file, exists);
        QCOMPARE(entries(full, true), fullIds);
        QCOMPARE(again.skipped, 9);
        QCOMPARE(again.folders + again.bookmarks + again.notes + again.places, 0);
    }

    // Nothing is overwritten: a note that differs stands beside the reader's own, marked
    // imported and counted; equal ones and bookmarks the folder holds are skipped; folders are
    // found by their names under the same parent.
    void mergeKeepsWhatIsThere()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const qint64 daily = store.addFolder(QStringLiteral("روزانه"), 0);
        store.addBookmark(kThrone, daily);
        store.saveNote(kThrone, QStringLiteral("از خودم"));
        store.setPlace(ReaderStore::Slot::Quran, ReaderRef::ofVerse(1, 1));
        const QByteArray file = R"({"format": "kevran-reader", "version": 1,
            "folders": [{"id": 7, "parent": 3, "name": "تازه"},
                        {"id": 3, "name": "روزانه", "created": "2024-03-01T08:30:00Z"}],
            "bookmarks": [{"ref": {"kind": "verse", "sura": 2, "verse": 255}, "folder": 3},
                          {"ref": {"kind": "verse", "sura": 2, "verse": 255}, "folder": 7},
                          {"ref": {"kind": "verse", "sura": 2, "verse": 255}, "folder": 7}],
            "notes": [{"ref": {"kind": "verse", "sura": 2, "verse": 255}, "text": "از پرونده"},
                      {"ref": {"kind": "verse", "sura": 2, "verse": 255}, "text": "از خودم"},
                      {"ref": {"kind": "sermon", "number": 27}, "text": "ديگري",
                       "origin": "imported"},
                      {"ref": {"kind": "sermon", "number": 27}, "text": "خطبه"}],
            "places": {"quran": {"kind": "verse", "sura": 3, "verse": 1},
                       "nahj": {"kind": "letter", "number": 31}}})";
        const auto report = ReaderExchange::importJson(store, file, exists);
        QCOMPARE(report.folders, 1);
        QCOMPARE(report.bookmarks, 1);
        QCOMPARE(report.notes, 3);
        QCOMPARE(report.keptBeside, 1);
        QCOMPARE(report.skipped, 3);
        QCOMPARE(report.places, 1);
        QCOMPARE(int(store.folders().size()), 2);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("از خودم"));
        QCOMPARE(store.note(kSermon27)->text, QStringLiteral("خطبه"));
        QStringList beside;
        for (const ReaderNote &n : store.notes()) {
            if (n.origin == ReaderNote::Imported)
                beside << n.text;
        }
        beside.sort();
        QCOMPARE(beside, (QStringList{QStringLiteral("از پرونده"), QStringLiteral("ديگري")}));
        QCOMPARE(*store.place(ReaderStore::Slot::Quran), ReaderRef::ofVerse(1, 1));
        QCOMPARE(*store.place(ReaderStore::Slot::Nahj), ReaderRef::ofNahj(2, 31));
    }

    // Each refused file changes nothing and the message names the problem, quickly.
    void hostileFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("named");
        const QByteArray head = R"({"format": "kevran-reader", "version": 1, )";
        auto note = [&](const QByteArray &ref) {
            return head + R"("notes": [{"ref": )" + ref + R"(, "text": "x"}]})";
        };
        QTest::newRow("damaged") << head + R"("notes": [1 2]})"
                                 << "بايت 55";
        QTest::newRow("deep nesting") << head + "\"notes\": " + QByteArray(100000, '[') << "بايت";
        QTest::newRow("other format") << QByteArray(R"({"format": "x", "version": 1})") << "ورتانس";
        QTest::newRow("newer version")
            << QByteArray(R"({"format": "kevran-reader", "version": 2, "notes": 5})") << "قالب 2";
        QTest::newRow("string for number")
            << note(R"({"kind": "verse", "sura": "2", "verse": 255})") << "«notes[0].ref.sura»";
        QTest::newRow("huge number")
            << note(R"({"kind": "verse", "sura": 2, "verse": 1e300})") << "«notes[0].ref.verse»";
        QTest::newRow("NaN") << note(R"({"kind": "verse", "sura": NaN, "verse": 1})") << "بايت";
        QTest::newRow("fraction") << note(R"({"kind": "sermon", "number": 2.5})")
                                  << "«notes[0].ref.number»";
        QTest::newRow("array for object") << head + R"("notes": [[1]]})"
                                          << "«notes[0]»";
        QTest::newRow("object for array") << head + R"("bookmarks": {}})"
                                          << "«bookmarks»";
        QTest::newRow("missing text")
            << head + R"("notes": [{"ref": {"kind": "verse", "sura": 1, "verse": 1}}]})"
            << "«notes[0].text»";
        QTest::newRow("null text")
            << head + R"("notes": [{"ref": {"kind": "saying", "number": 1}, "text": null}]})"
            << "«notes[0].text»";
        QTest::newRow("unknown kind") << note(R"({"kind": "chapter", "number": 1})") << "chapter";
        QTest::newRow("unknown origin")
            << head + R"("notes": [{"ref": {"kind": "saying", "number": 1}, "text": "x",
                                    "origin": "?"}]})"
            << "«notes[0].origin»";
        QTest::newRow("bad time") << head +
                                         R"("bookmarks": [{"ref": {"kind": "saying", "number": 1},
                                        "created": "yesterday"}]})"
                                  << "«bookmarks[0].created»";
        QTest::newRow("year past 9999") // its export could not be read back
            << head + R"("folders": [{"id": 1, "name": "a",
                                     "created": "9999-12-31T23:00:00-05:00"}]})"
            << "«folders[0].created»";
        QTest::newRow("unknown verses")
            << head + R"("bookmarks": [{"ref": {"kind": "verse", "sura": 115, "verse": 1}},
                                       {"ref": {"kind": "verse", "sura": 2, "verse": 255}}],
                         "notes": [{"ref": {"kind": "verse", "sura": 2, "verse": 287},
                                    "text": "x"}]})"
            << "2:287، 115:1.";
        QTest::newRow("negative number") << note(R"({"kind": "letter", "number": -3})") << "نامه";
        QTest::newRow("item the texts lack")
            << note(R"({"kind": "sermon", "number": 242})") << "خطبه";
        QTest::newRow("sermon as the Quran place")
            << head + R"("places": {"quran": {"kind": "sermon", "number": 1}}})"
            << "«places.quran»";
        QTest::newRow("folder twice")
            << head + R"("folders": [{"id": 1, "name": "a"}, {"id": 1, "name": "b"}]})"
            << "«folders[1].id»";
        QTest::newRow("over the size limit") << QByteArray() << "۲۵۶ مگابايت";
    }
    void hostileFilesChangeNothing()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, named);
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        store.addBookmark(kThrone, store.addFolder(QStringLiteral("روزانه"), 0));
        store.saveNote(kSermon27, QStringLiteral("خطبه"));
        const QStringList before = entries(store, true);
        if (body.isEmpty()) {
            body = QByteArray(R"({"format": "kevran-reader", "version": 1})");
            body += QByteArray(ReaderExchange::MaxFileSize + 1 - body.size(), ' ');
        }
        QElapsedTimer timer;
        timer.start();
        const QString error = errorOf([&] { ReaderExchange::importJson(store, body, exists); });
        QVERIFY2(error.contains(named), qPrintable(error));
        QVERIFY2(error.endsWith(QStringLiteral("هيچ چيز وارد نشد.")), qPrintable(error));
        QVERIFY(timer.elapsed() < 2000);
        QCOMPARE(entries(store, true), before);
    }

    // A file over the limit is refused by its size, at once.
    void hugeFileIsNotRead()
    {
        const QString path = m_dir.filePath(QStringLiteral("huge.json"));
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(ReaderExchange::MaxFileSize + 1));
        huge.close();
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(errorOf([&] { ReaderExchange::importFile(store, path); }).contains("۲۵۶"));
        QVERIFY(timer.elapsed() < 1000);
    }

    // An export onto a folder that cannot be written fails with the file named, and the old
    // export stays as it was.
    void failedExportKeepsOldFile()
    {
        const QString folder = m_dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        const bool root = geteuid() == 0;
        if (root && !asRoot(QStringLiteral("mount -t tmpfs -o size=1m tmpfs '%1'").arg(folder)))
            QSKIP("cannot mount a file system to make read-only");
        auto unmount = qScopeGuard([&] {
            if (root)
                asRoot(QStringLiteral("umount '%1'").arg(folder));
        });
        const QString path = folder + QStringLiteral("/backup.json");
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        ReaderExchange::exportToFile(store, path);
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray oldBytes = old.readAll();
        old.close();
        store.saveNote(kThrone, QStringLiteral("تازه"));
        if (root)
            QVERIFY(asRoot(QStringLiteral("mount -o remount,ro '%1'").arg(folder)));
        else
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const QString error = errorOf([&] { ReaderExchange::exportToFile(store, path); });
        QVERIFY2(error.startsWith(
                     QStringLiteral("پرونده «%1» نوشته نشد: ").arg(QDir::toNativeSeparators(path))),
                 qPrintable(error));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), oldBytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"backup.json"});
        if (!root)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Entries the file cannot place (a folder in a loop of parents or under one the file lacks,
    // a bookmark in such a folder) go to the top, counted; the rest goes in, and twice adds
    // nothing.
    void unplacedEntriesGoToTheTop()
    {
        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const QByteArray file = R"({"format": "kevran-reader", "version": 1,
            "folders": [{"id": 1, "parent": 2, "name": "a"}, {"id": 2, "parent": 1, "name": "b"},
                        {"id": 3, "parent": 9, "name": "c"}],
            "bookmarks": [{"ref": {"kind": "saying", "number": 1}, "folder": 9},
                          {"ref": {"kind": "saying", "number": 2}, "folder": 2}]})";
        const auto report = ReaderExchange::importJson(store, file, exists);
        QCOMPARE(report.folders, 3);
        QCOMPARE(report.bookmarks, 2);
        QCOMPARE(report.unplaced, 3);
        QCOMPARE(
            entries(store),
            (QStringList{"bookmark  4:1:0  " + timeOf(store.bookmarks().at(0).created) + " ",
                         "bookmark /a/b 4:2:0  " + timeOf(store.bookmarks().at(1).created) + " ",
                         "folder /a " + timeOf(store.folders().at(0).created) + " ",
                         "folder /a/b " + timeOf(store.folders().at(1).created) + " ",
                         "folder /c " + timeOf(store.folders().at(2).created) + " "}));
        const auto again = ReaderExchange::importJson(store, file, exists);
        QCOMPARE(again.folders + again.bookmarks, 0);
    }

    // Stores made by random work from two connections on one file (folders removed under the
    // other's feet, bookmarks moved into them, notes written over each other), and one with
    // the orphans an older program could leave: each export imports into an empty store, and
    // gives the same entries.
    void anyStoreRoundTrips()
    {
        for (quint32 seed = 1; seed <= 6; ++seed) {
            const QString path = m_dir.filePath(QStringLiteral("random%1.db").arg(seed));
            ReaderStore stores[2];
            stores[0].open(path);
            stores[1].open(path);
            QRandomGenerator random(seed);
            std::vector<qint64> folders[2]; // what each connection believes exists
            ReaderStore::NoteBase bases[2];
            for (int step = 0; step < 300; ++step) {
                const int w = int(random.bounded(2));
                ReaderStore &store = stores[w];
                std::vector<qint64> &known = folders[w];
                const auto anyFolder = [&]() -> qint64 {
                    return known.empty() || random.bounded(4) == 0
                               ? 0
                               : known[random.bounded(quint32(known.size()))];
                };
                const ReaderRef ref = ReaderRef::ofVerse(1, 1 + int(random.bounded(7)));
                try {
                    switch (random.bounded(8)) {
                    case 0:
                        known.push_back(
                            store.addFolder(QStringLiteral("پ%1").arg(step), anyFolder()));
                        break;
                    case 1:
                        if (!known.empty())
                            store.removeFolder(anyFolder());
                        break;
                    case 2:
                        store.addBookmarks({ref}, anyFolder());
                        break;
                    case 3: {
                        std::vector<qint64> ids;
                        for (const ReaderBookmark &b : store.bookmarks(ReaderStore::Times::Skip))
                            if (random.bounded(3) == 0)
                                ids.push_back(b.id);
                        store.moveBookmarks(ids, anyFolder());
                        break;
                    }
                    case 4:
                        if (!known.empty())
                            store.moveFolder(anyFolder(), anyFolder());
                        break;
                    case 5:
                        bases[w] =
                            store
                                .saveNote(kThrone, QStringLiteral("%1 از %2").arg(step).arg(w),
                                          bases[w])
                                .base();
                        break;
                    case 6:
                        for (const ReaderBookmark &b : store.bookmarks(ReaderStore::Times::Skip))
                            store.setBookmarkTitle(b.id, QStringLiteral("عنوان %1").arg(step));
                        break;
                    default:
                        store.saveNote(ref, QStringLiteral("يادداشت %1").arg(step));
                        break;
                    }
                } catch (const Error &) {
                    // A refusal (a folder gone, a loop) changes nothing.
                }
            }
            if (seed == 6)
                stores[0].connection().exec(
                    "INSERT INTO bookmark (folder, kind, number, verse, created) VALUES "
                    "(777, 0, 3, 3, '2026-01-01T00:00:00.000Z')");
            ReaderStore empty;
            empty.open(m_dir.filePath(QStringLiteral("empty%1.db").arg(seed)));
            const QString file = m_dir.filePath(QStringLiteral("random%1.json").arg(seed));
            ReaderExchange::exportToFile(stores[0], file);
            const QString error = errorOf([&] { ReaderExchange::importFile(empty, file, exists); });
            QVERIFY2(error.isEmpty(), qPrintable(error));
            if (seed != 6)
                QCOMPARE(entries(empty), entries(stores[0]));
            else
                QCOMPARE(empty.bookmarks().size(), stores[0].bookmarks().size());
        }
    }

    // Another reader.db merges as an export does: one still in use with entries in its journal,
    // one a newer program wrote, one moved aside as damaged (what can be read of it); a
    // database of another kind is refused.
    void readerDatabasesImport()
    {
        const QString source = m_dir.filePath(QStringLiteral("other/reader.db"));
        ReaderStore other;
        other.open(source);
        other.addBookmark(kThrone, other.addFolder(QStringLiteral("روزانه"), 0));
        for (int v = 1; v <= 100; ++v)
            other.saveNote(ReaderRef::ofVerse(2, v),
                           QString(300, QChar(0x0645)) + QString::number(v));
        other.setPlace(ReaderStore::Slot::Quran, kThrone);
        QVERIFY(QFileInfo::exists(source + QStringLiteral("-wal")));

        ReaderStore store;
        store.open(m_dir.filePath(QStringLiteral("reader.db")));
        const auto report = ReaderExchange::importFile(store, source, exists);
        QCOMPARE(report.notes, 100);
        QVERIFY(!report.damaged);
        QCOMPARE(entries(store), entries(other));
        QCOMPARE(ReaderExchange::importFile(store, source, exists).notes, 0);

        // Written by a newer program, then damaged in its last pages and moved aside.
        other.connection().exec("PRAGMA user_version=7; PRAGMA wal_checkpoint(TRUNCATE)");
        other.close();
        ReaderStore fresh;
        fresh.open(m_dir.filePath(QStringLiteral("fresh.db")));
        QCOMPARE(ReaderExchange::importFile(fresh, source, exists).notes, 100);
        QFile damaged(source);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        damaged.seek(damaged.size() - 8192);
        damaged.write(QByteArray(8192, '\xA5'));
        damaged.close();
        ReaderStore third;
        third.open(m_dir.filePath(QStringLiteral("third.db")));
        const QString error = errorOf([&] {
            const auto partial = ReaderExchange::importFile(third, source, exists);
            QVERIFY(partial.damaged || partial.notes == 100);
        });
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!third.notes().empty());

        SqliteConnection foreign;
        const QString foreignPath = m_dir.filePath(QStringLiteral("1.db"));
        foreign.open(QFile::encodeName(foreignPath), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        foreign.exec("CREATE TABLE main (id INTEGER)");
        foreign.close();
        QVERIFY(errorOf([&] {
                    ReaderExchange::importFile(third, foreignPath, exists);
                }).contains(QStringLiteral("ورتانس")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QDir m_dir;
};

QTEST_GUILESS_MAIN(tst_ReaderExchange)
#include "tst_readerexchange.moc"
