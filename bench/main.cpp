// kevran-bench: how fast the reader answers, beside the floor of its own engine.
// usage: kevran-bench [--database 1.db] [--runs N] [--startup-only] [--process-only]
//                     [--program PATH] [--only TEXT]   (prints a Markdown table)

#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "bench/Bench.h"
#include "bench/WholeProcess.h"
#include "data/DataSet.h"
#include "data/SuraNames.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/MemoryDialogs.h"
#include "reader/ReaderStore.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/notes/NoteEditor.h"
#include "ui/notes/NotesPage.h"
#include "ui/notes/ReaderData.h"
#include "ui/print/PrintCommands.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

const QString kQuranFrom =
    QStringLiteral("SELECT * \nFrom num left join main on num.id=main.id1\n");

// Counts the timer events delivered anywhere in the program.
class TimerCounter : public QObject {
public:
    int count = 0;
    QMap<QString, int> receivers;
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ++count;
            ++receivers[QString::fromLatin1(receiver->metaObject()->className()) +
                        QLatin1Char(' ') + receiver->objectName()];
        }
        return false;
    }
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The whole program against an empty window with a Persian label, each started as a reader
// starts it and ended once painted, taking turns so that both see the same load.
void measureWholeProcess(Bench &bench, int runs, const QString &folder, const QByteArray &platform,
                         const QString &programPath)
{
    const QString name = QStringLiteral("whole process (%1): exec to painted launcher, beside an "
                                        "empty window with a Persian label")
                             .arg(QString::fromLatin1(platform));
    if (!bench.wanted(name))
        return;
    const QString here = QCoreApplication::applicationDirPath();
    const WholeProcess program(programPath.isEmpty() ? here + QStringLiteral("/../kevran")
                                                     : programPath,
                               folder, platform);
    const WholeProcess reference(here + QStringLiteral("/kevran-reference"), folder, platform);
    std::vector<double> painted, referencePainted, exited, referenceExited, cpu, referenceCpu;
    std::vector<double> peak, referencePeak, faults, referenceFaults;
    for (int i = -1; i < runs; ++i) { // the first pair fills the caches and is not counted
        for (const WholeProcess *which : {&reference, &program}) {
            const WholeProcess::Start start = which->run();
            if (!start.ok) {
                std::fprintf(stderr, "kevran-bench: %s did not paint and end cleanly\n",
                             qUtf8Printable(which->program()));
                return;
            }
            if (i < 0)
                continue;
            const bool isProgram = which == &program;
            (isProgram ? painted : referencePainted).push_back(start.paintedMs);
            (isProgram ? exited : referenceExited).push_back(start.exitMs);
            (isProgram ? cpu : referenceCpu).push_back(start.cpuMs);
            (isProgram ? peak : referencePeak).push_back(start.peakMB);
            (isProgram ? faults : referenceFaults).push_back(double(start.pageFaults));
        }
    }
    bench.add(name, painted, referencePainted);
    bench.add(QStringLiteral("whole process (%1): exec to the end after the painted launcher")
                  .arg(QString::fromLatin1(platform)),
              exited, referenceExited);
    bench.add(QStringLiteral("whole process (%1): CPU time, user and system, to the end")
                  .arg(QString::fromLatin1(platform)),
              cpu, referenceCpu);
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    bench.note(QStringLiteral("whole process (%1): page faults, program / empty window")
                   .arg(QString::fromLatin1(platform)),
               QStringLiteral("%1 / %2").arg(median(faults)).arg(median(referenceFaults)));
    const double p = median(peak), r = median(referencePeak);
    bench.note(QStringLiteral("whole process (%1): peak resident memory, program / empty window")
                   .arg(QString::fromLatin1(platform)),
               QStringLiteral("%1 MB / %2 MB (%3×)")
                   .arg(p, 0, 'f', 1)
                   .arg(r, 0, 'f', 1)
                   .arg(p / r, 0, 'f', 2));
}

// Delivers what the event loop delivers before it next waits for input: the posted events,
// the windows' pending paints among them, each painting what changed as Qt paints it for the
// reader. Work a page leaves to a zero timer, which fires after the paint, is not counted.
void display()
{
    QCoreApplication::sendPostedEvents();
}

// A reader's database as a heavy reader's grows: 10,000 bookmarks in 40 folders and a note on
// every verse, written straight into the file in one transaction.
void fillReaderDatabase(const QString &path)
{
    {
        ReaderStore store;
        store.open(path); // the schema
    }
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *folder = nullptr, *mark = nullptr, *note = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO folder (parent, name, created) VALUES (0, ?, ?)", -1,
                       &folder, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT OR IGNORE INTO bookmark (folder, kind, number, verse, created) "
                       "VALUES (?, 0, ?, ?, ?)",
                       -1, &mark, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO note (kind, number, verse, text, created, modified) "
                       "VALUES (0, ?, ?, ?, ?, ?)",
                       -1, &note, nullptr);
    const QByteArray time = ReaderStore::timeText(QDateTime::currentDateTimeUtc()).toUtf8();
    const auto text = [](sqlite3_stmt *st, int i, const QByteArray &bytes) {
        sqlite3_bind_text(st, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    };
    for (int f = 1; f <= 40; ++f) {
        text(folder, 1, QStringLiteral("پوشه %1").arg(f).toUtf8());
        text(folder, 2, time);
        sqlite3_step(folder);
        sqlite3_reset(folder);
    }
    std::vector<std::pair<int, int>> verses;
    for (int sura = 1; sura <= 114; ++sura) {
        for (int verse = 1; verse <= SuraNames::verseCount(sura); ++verse)
            verses.emplace_back(sura, verse);
    }
    for (int i = 0; i < 10000; ++i) {
        const auto &[sura, verse] = verses[size_t(i) % verses.size()];
        sqlite3_bind_int(mark, 1, 1 + i % 40);
        sqlite3_bind_int(mark, 2, sura);
        sqlite3_bind_int(mark, 3, verse);
        text(mark, 4, time);
        sqlite3_step(mark);
        sqlite3_reset(mark);
    }
    const QByteArray words =
        QStringLiteral("يادداشتي بر اين آيه: معناي آن را از تفسير خواندم و با ترجمه سنجيدم؛ ")
            .repeated(3)
            .toUtf8();
    for (const auto &[sura, verse] : verses) {
        sqlite3_bind_int(note, 1, sura);
        sqlite3_bind_int(note, 2, verse);
        text(note, 3, words + QByteArray::number(sura * 1000 + verse));
        text(note, 4, time);
        text(note, 5, time);
        sqlite3_step(note);
        sqlite3_reset(note);
    }
    sqlite3_finalize(folder);
    sqlite3_finalize(mark);
    sqlite3_finalize(note);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char *argv[])
{
    // The whole-process runs use the platform the benchmark was started with (offscreen unless
    // told); everything else runs offscreen in-process.
    QByteArray processPlatform = qgetenv("QT_QPA_PLATFORM");
    if (processPlatform.isEmpty())
        processPlatform = "offscreen";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString database = QStringLiteral("1.db");
    int runs = 30;
    bool startupOnly = false; // for profiling start-up alone
    bool processOnly = false; // the whole-process runs alone
    QString only;             // for profiling one kind of action
    QString programPath;      // another build of the program, for the whole-process runs
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--database") && i + 1 < args.size())
            database = args[++i];
        else if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--startup-only"))
            startupOnly = true;
        else if (args[i] == QLatin1String("--process-only"))
            processOnly = true;
        else if (args[i] == QLatin1String("--program") && i + 1 < args.size())
            programPath = args[++i];
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only = args[++i];
    }
    const QFileInfo file(database);
    if (!file.exists()) {
        std::fprintf(stderr, "kevran-bench: %s not found\n", qUtf8Printable(database));
        return 2;
    }
    QDir::setCurrent(file.absolutePath());
    Program::setUpApplication(app);
    MemoryDialogs dialogs;
    MemoryClipboard clipboard;
    Bench bench(file.absoluteFilePath());
    bench.setFilter(only);

    if (!startupOnly)
        measureWholeProcess(bench, runs, file.absolutePath(), processPlatform, programPath);
    if (processOnly) {
        std::printf("%s", qUtf8Printable(bench.table()));
        return 0;
    }

    const QString verseStatement =
        QStringLiteral("select *From num left join main on num.id=main.id1");
    bench.measure(
        QStringLiteral("start-up steps 2-4 (windows, data module, verse set open on its first "
                       "verse, Nahj tree)"),
        runs, [](int) { Program::createWindows(); }, {},
        [](int run) {
            if (run > 0)
                Program::destroyWindows();
        });
    // Start-up leaves the verse set's other rows to the first idle step after the launcher
    // has painted: how long that step holds the event loop.
    bench.measure(
        QStringLiteral("the verse rows start-up left, read by the first idle step (6236 verses)"),
        runs, [](int) { kevran::DataModule2->ADOQuery1->fetchAll(); }, {verseStatement},
        [](int) {
            Program::destroyWindows();
            Program::createWindows();
        });

    // The pages are made when first needed: showing the main window from the launcher, on a
    // fresh start, makes every page not made yet before it paints. (The program makes them
    // while the launcher shows; these rows are what a reader quicker than that waits. The verse
    // rows are read, as the idle step before the first page does.)
    if (!startupOnly) {
        struct Opening {
            const char *page;
            void (Tfrm_main::*button)();
        };
        const Opening openings[] = {{"Quran", &Tfrm_main::AdvToolButton3Click},
                                    {"Nahj", &Tfrm_main::AdvToolButton4Click},
                                    {"search", &Tfrm_main::AdvToolButton7Click},
                                    {"question", &Tfrm_main::AdvToolButton8Click},
                                    {"display settings", &Tfrm_main::AdvToolButton2Click},
                                    {"about", &Tfrm_main::AdvToolButton1Click}};
        for (const Opening &opening : openings) {
            bench.measure(
                QStringLiteral("first opening of the %1 page from the launcher, pages made then")
                    .arg(QLatin1String(opening.page)),
                runs,
                [&](int) {
                    (kevran::frm_main->*opening.button)();
                    display();
                },
                {},
                [](int) {
                    Program::destroyWindows();
                    Program::createWindows();
                    kevran::frm_main->show();
                    QApplication::processEvents();
                    kevran::DataModule2->ADOQuery1->fetchAll();
                });
        }
        Program::destroyWindows();
        Program::createWindows();
    }

    if (startupOnly) {
        std::printf("%s", qUtf8Printable(bench.table()));
        Program::destroyWindows();
        return 0;
    }

    Tmain *window = kevran::main;
    window->resize(1280, 800);
    QuranPage *quran = window->TabSheet1.get();
    QTemporaryDir readerDir;
    window->Reader->setPath(readerDir.filePath(QStringLiteral("reader.db")));

    bench.measure(
        QStringLiteral("launcher's Quran button to the painted Quran page"), runs,
        [&](int) {
            kevran::frm_main->AdvToolButton3Click();
            display();
        },
        {},
        [&](int) {
            window->hide();
            kevran::frm_main->show();
            QApplication::processEvents();
        });
    window->showNormal();
    window->resize(1280, 800);
    QApplication::processEvents();

    QStringList suraSql;
    for (int s = 1; s <= 114; ++s)
        suraSql << kQuranFrom + QStringLiteral("WHERE (chapter = %1) ").arg(s);
    bench.measure(
        QStringLiteral("each of the 114 suras from the sura list"), 114,
        [&](int i) {
            quran->ListBox5->setCurrentRow(i);
            display();
        },
        suraSql);
    bench.measure(
        QStringLiteral("sura box \"2\""), runs,
        [&](int) {
            quran->chapter->setText(QStringLiteral("2"));
            display();
        },
        {QStringLiteral("SELECT * \nFrom Main left join Num on Main.id1=Num.id\nWHERE "
                        "(chapter like '2') ")},
        [&](int) { quran->chapter->setText(QStringLiteral("1")); });
    bench.measure(
        QStringLiteral("verse box \"255\" in sura 2"), runs,
        [&](int) {
            quran->verse->setText(QStringLiteral("255"));
            display();
        },
        {QStringLiteral("SELECT * \nFrom Main left join Num on Main.id1=Num.id\nWHERE "
                        "(chapter = 2) AND (vers = 255) ")},
        [&](int) {
            quran->chapter->setText(QStringLiteral("2"));
            quran->verse->setText(QStringLiteral("1"));
        });
    quran->ListBox5->setCurrentRow(1);
    bench.measure(QStringLiteral("next verse"), runs, [&](int) {
        quran->BitBtn2->click();
        display();
    });
    bench.measure(QStringLiteral("previous verse"), runs, [&](int) {
        quran->BitBtn1->click();
        display();
    });

    for (const char *topic : {"ff", "qq"}) {
        auto *button = quran->findChild<FlatButton *>(QLatin1String(topic));
        bench.measure(
            QStringLiteral("topic %1 (%2)")
                .arg(QLatin1String(topic),
                     topic[0] == 'f' ? QStringLiteral("largest") : QStringLiteral("smallest")),
            runs,
            [&](int) {
                button->click();
                display();
            },
            {kQuranFrom.section('\n', 0, 0) +
             QStringLiteral("\nFrom main left join num on main.id1=num.id\nWHERE (sub "
                            "like '%%1%') ")
                 .arg(QLatin1String(topic == QLatin1String("ff") ? "ff" : "qq"))},
            [&](int) { quran->ListBox5->setCurrentRow(0); });
    }

    const QList<QPair<QString, QString>> words = {
        {QStringLiteral("الله"), QStringLiteral("frequent")},
        {QStringLiteral("زنجبيلا"), QStringLiteral("rare")},
        {QStringLiteral("zzqq"), QStringLiteral("no hit")}};
    const QList<QPair<QString, QString>> translationWords = {
        {QStringLiteral("خدا"), QStringLiteral("frequent")},
        {QStringLiteral("زنجبیل"), QStringLiteral("rare")},
        {QStringLiteral("zzqq"), QStringLiteral("no hit")}};
    for (const bool arabic : {true, false}) {
        for (const auto &word : arabic ? words : translationWords) {
            const QString column = arabic ? QStringLiteral("search1") : QStringLiteral("English");
            bench.measure(
                QStringLiteral("quick search, %1, %2 word")
                    .arg(arabic ? QStringLiteral("Arabic") : QStringLiteral("translation"),
                         word.second),
                runs,
                [&](int) {
                    (arabic ? quran->ar : quran->fa)->setChecked(true);
                    quran->Edit1->setText(word.first);
                    quran->BitBtn6->click();
                    display();
                },
                {kQuranFrom + QStringLiteral("WHERE ( %1 like '%%2%') ").arg(column, word.first)});
        }
    }

    window->setActivePage(window->TabSheet3.get());
    SearchPage *search = window->TabSheet3.get();
    struct Scope {
        QRadioButton *radio;
        const char *name, *from, *exact, *partial;
        bool translation;
    };
    const Scope scopes[] = {
        {search->s3, "Quran text", "From num left join main on num.id=main.id1", "search1",
         "search1", false},
        {search->s4, "Quran translation", "From num left join main on num.id=main.id1", "english",
         "English", true},
        {search->s1, "Nahj text", "FROM main", "search", "search", false},
        {search->s2, "Nahj translation", "FROM main", "farsi", "farsi", true},
    };
    for (const Scope &scope : scopes) {
        for (const bool exact : {false, true}) {
            for (const auto &word : scope.translation ? translationWords : words) {
                const QString where =
                    exact ? QStringLiteral("WHERE  (' ' || %1 || ' ') like '% %2 %'")
                                .arg(QLatin1String(scope.exact), word.first)
                          : QStringLiteral("WHERE ( %1 like '%%2%') ")
                                .arg(QLatin1String(scope.partial), word.first);
                bench.measure(
                    QStringLiteral("search page, %1, %2, %3 word")
                        .arg(QLatin1String(scope.name),
                             exact ? QStringLiteral("exact") : QStringLiteral("partial"),
                             word.second),
                    runs,
                    [&](int) {
                        search->BitBtn5->click();
                        display();
                    },
                    {QStringLiteral("SELECT * \n%1\n%2").arg(QLatin1String(scope.from), where)},
                    [&](int) {
                        scope.radio->click();
                        search->b1->setChecked(exact);
                        search->Edit2->setText(word.first);
                    });
            }
        }
    }

    // What a full repaint costs: the rows paint only what their action changed, as the event
    // loop does.
    bench.measure(QStringLiteral("search page, the whole window repainted, nothing changed"), runs,
                  [&](int) { window->repaint(); });

    // What a Persian reader types: plain letters for hamza forms, text pasted with its marks,
    // words without their zero-width non-joiner, and the empty box (every row).
    struct Typed {
        const char *name;
        bool quick, arabic;
        QString text;
    };
    const Typed typed[] = {
        {"quick search, Arabic, hamza typed plain (ابراهیم)", true, true,
         QStringLiteral("ابراهیم")},
        {"quick search, Arabic, pasted with its marks (الْحَمْدُ لِلَّهِ)", true, true,
         QStringLiteral("الْحَمْدُ لِلَّهِ")},
        {"quick search, translation, without ZWNJ (میکند)", true, false, QStringLiteral("میکند")},
        {"quick search, Arabic, empty box (every verse)", true, true, QString()},
        {"quick search, translation, empty box (every verse)", true, false, QString()},
        {"search page, Nahj text, partial, hamza typed plain (امير)", false, true,
         QStringLiteral("امير")},
        {"search page, Quran text, partial, empty box (every verse)", false, true, QString()},
    };
    for (const Typed &t : typed) {
        const QString column = t.arabic ? QStringLiteral("search1") : QStringLiteral("English");
        const bool nahjScope = QString::fromUtf8(t.name).contains(QLatin1String("Nahj"));
        const QString floor =
            nahjScope
                ? QStringLiteral("SELECT * \nFROM main\nWHERE ( search like '%%1%') ").arg(t.text)
                : kQuranFrom + QStringLiteral("WHERE ( %1 like '%%2%') ").arg(column, t.text);
        bench.measure(
            QString::fromUtf8(t.name), runs,
            [&](int) {
                if (t.quick) {
                    window->setActivePage(quran);
                    (t.arabic ? quran->ar : quran->fa)->setChecked(true);
                    quran->Edit1->setText(t.text);
                    quran->BitBtn6->click();
                } else {
                    search->BitBtn5->click();
                }
                display();
            },
            {floor},
            [&](int) {
                if (!t.quick) {
                    window->setActivePage(search);
                    (nahjScope ? search->s1 : search->s3)->click();
                    search->b1->setChecked(false);
                    search->Edit2->setText(t.text);
                }
            });
    }

    // Recolouring the longest items of the book, the view showing the item: each run colours
    // the term's hits from none.
    window->setActivePage(search);
    DataSet *results = kevran::DataModule2->ADOQuery2;
    struct Long {
        QRadioButton *radio;
        const char *name;
        int code, id;
        const char *term;
    };
    const Long longest[] = {
        {search->s2, "Nahj translation, Letter 53", 2, 53, "ا"},
        {search->s2, "Nahj translation, Letter 53", 2, 53, "خدا"},
        {search->s2, "Nahj translation, Sermon 192", 1, 192, "ا"},
        {search->s1, "Nahj text, Letter 53", 2, 53, "ا"},
        {search->s1, "Nahj text, Letter 53", 2, 53, "الله"},
        {search->s1, "Nahj text, Sermon 192", 1, 192, "ا"},
    };
    for (const Long &item : longest) {
        item.radio->click();
        results->rebuild(
            {QStringLiteral("SELECT * FROM main"),
             QStringLiteral("WHERE Code = %1 AND ID = %2").arg(item.code).arg(item.id)});
        QCoreApplication::processEvents(); // the rest of a long text follows its beginning
        const QString term = QString::fromUtf8(item.term);
        bench.measure(
            QStringLiteral("recolouring %1 (%2 characters), term %3")
                .arg(QString::fromUtf8(item.name))
                .arg(search->DBRichEdit1->toPlainText().size())
                .arg(term),
            runs,
            [&](int) {
                search->Edit2->setText(term);
                search->DBRichEdit1Change();
                display();
            },
            {},
            [&](int) {
                search->Edit2->setText(QString());
                search->DBRichEdit1Change();
                display();
            });
    }

    window->setActivePage(window->TabSheet2.get());
    NahjPage *nahj = window->TabSheet2.get();
    QTreeWidgetItem *sermons = nahj->TreeView1->topLevelItem(0);
    bench.measure(QStringLiteral("Nahj item lookup"), runs,
                  [&](int i) {
                      nahj->TreeView1->setCurrentItem(sermons->child(i % sermons->childCount()));
                      nahj->itemLookup();
                      display();
                  },
                  {QStringLiteral("SELECT * FROM Main\nWHERE Code = 1\nAND ID = 1")});

    window->setActivePage(quran);
    quran->Edit1->clear();
    quran->BitBtn6->click(); // every verse
    quran->CheckBox1->setChecked(true);
    quran->CheckBox1Click();
    display();
    // The whole Quran saved as a PDF: the pages laid out, the file written whole.
    {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("quran.pdf"));
        bench.measure(QStringLiteral("PDF of the whole Quran (6236 verses and translations)"),
                      std::min(runs, 5),
                      [&](int) { window->Printing->savePdf(window->Printing->printout(), pdf); });
        bench.note(QStringLiteral("PDF of the whole Quran: size"),
                   QStringLiteral("%1 MB").arg(QFileInfo(pdf).size() / 1048576.0, 0, 'f', 1));
    }
    QScrollBar *scroll = quran->DbAltGrid3->verticalScrollBar();
    const int pages = std::max(1, scroll->maximum() / std::max(1, scroll->pageStep()) + 1);
    bench.measure(QStringLiteral("verse grid, one page of the 6236 rows scrolled and painted"),
                  pages, [&](int i) {
                      scroll->setValue(i * scroll->pageStep());
                      display();
                  });

    // The reader's choice of translation, made on the display settings page, with every verse
    // in the grid to follow it.
    DisplaySettingsPage *settings = window->TabSheet5.get();
    settings->loadTranslations();
    const int translations = settings->TranslationBox->count();
    const int chosenAtStart = settings->TranslationBox->currentIndex();
    if (translations > 1) {
        bench.measure(
            QStringLiteral("translation switched, 6236 verses in the grid, page painted"), runs,
            [&](int i) {
                // Away from the translation in use and back again, each run a change.
                const int other = (chosenAtStart + 1 + (i / 2) % (translations - 1)) % translations;
                settings->TranslationBox->setCurrentIndex(i % 2 ? chosenAtStart : other);
                display();
            },
            {QStringLiteral("SELECT id1, Text FROM TranslationText WHERE Code = 'fa.ansarian'")});
        settings->TranslationBox->setCurrentIndex(chosenAtStart);
    }

    quran->ListBox5->setCurrentRow(1); // 286 verses
    bench.measure(
        QStringLiteral("copy of 286 selected verses"), runs, [&](int) { quran->Copy2Click(); }, {},
        [&](int) { quran->DbAltGrid3->selectAll(); });

    // The reader's own data, at a heavy reader's size.
    if (bench.wanted(QStringLiteral("reader's"))) {
        const QString readerPath = window->Reader->path();
        fillReaderDatabase(readerPath);
        sqlite3 *floorDb = nullptr;
        sqlite3_open(QFile::encodeName(readerPath).constData(), &floorDb);
        sqlite3_busy_timeout(floorDb, 5000);
        sqlite3_exec(floorDb, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        window->Reader->open();
        NotesPage *notesPage = window->NotesSheet.get();
        const auto timed = [](const std::function<void()> &action) {
            QElapsedTimer timer;
            timer.start();
            action();
            return double(timer.nsecsElapsed()) / 1e6;
        };

        // Opening the page after the entries changed (the page reads them all again), and
        // after nothing changed.
        std::vector<double> times, floors;
        for (int i = 0; i < runs; ++i) {
            window->setActivePage(quran);
            display();
            window->Reader->entriesChangedHere(false);
            times.push_back(timed([&] {
                window->setActivePage(notesPage);
                display();
            }));
            floors.push_back(Bench::stepThrough(
                floorDb, "SELECT * FROM folder ORDER BY name, id;"
                         "SELECT * FROM bookmark ORDER BY folder, kind, number, verse;"
                         "SELECT id, kind, number, verse, substr(text, 1, 201), origin, "
                         "revision FROM note ORDER BY kind, number, verse;"));
        }
        bench.add(QStringLiteral("reader's page opened after a change, 10000 bookmarks and 6236 "
                                 "notes read, page painted"),
                  times, floors);
        times.clear();
        for (int i = 0; i < runs; ++i) {
            window->setActivePage(quran);
            display();
            times.push_back(timed([&] {
                window->setActivePage(notesPage);
                display();
            }));
        }
        bench.add(QStringLiteral("reader's page opened again, nothing changed, page painted"),
                  times);

        // The filter, one typed letter at a time, each painted.
        const QString word = QStringLiteral("رحمت الله");
        times.clear();
        for (int i = 0; i < runs; ++i) {
            const int letters = 1 + i % int(word.size());
            if (letters == 1)
                notesPage->BookmarkFilter->clear();
            times.push_back(timed([&] {
                notesPage->BookmarkFilter->setText(word.left(letters));
                display();
            }));
        }
        notesPage->BookmarkFilter->clear();
        bench.add(QStringLiteral("reader's page filtered, each typed letter of «رحمت الله», "
                                 "page painted"),
                  times);

        // Ctrl+D on the Quran page, a new verse each run, beside the insert alone.
        window->setActivePage(quran);
        quran->ListBox5->setCurrentRow(2); // sura 3: its verses are not bookmarked in folder 0
        times.clear();
        floors.clear();
        for (int i = 0; i < runs; ++i) {
            kevran::DataModule2->ADOQuery1->gotoBookmark(i); // its verse i + 1
            display(); // the new verse drawn before the timing starts
            times.push_back(timed([&] {
                quran->AddBookmark->trigger();
                display();
            }));
            floors.push_back(Bench::stepThrough(
                floorDb, QStringLiteral("BEGIN IMMEDIATE; INSERT OR IGNORE INTO bookmark (folder, "
                                        "kind, number, verse, created) VALUES (0, 0, 4, %1, "
                                        "'2026-12-10T00:00:00.000Z'); COMMIT;")
                             .arg(i + 1)
                             .toUtf8()));
        }
        bench.add(QStringLiteral("reader's bookmark added (Ctrl+D), page painted"), times, floors);

        // A note saved as the reader types: one letter more, saved, editor and page painted.
        NoteEditor *editor = window->Reader->editNote(ReaderRef::ofVerse(2, 255), window);
        times.clear();
        floors.clear();
        for (int i = 0; i < runs; ++i) {
            times.push_back(timed([&] {
                editor->Text->insertPlainText(QStringLiteral("ن"));
                editor->saveNow();
                display();
            }));
            floors.push_back(Bench::stepThrough(
                floorDb, "BEGIN IMMEDIATE; SELECT id, text, revision FROM note WHERE kind = 0 AND "
                         "number = 2 AND verse = 254 AND origin = 0; UPDATE note SET text = text "
                         "|| 'ن', modified = '2026-12-10T00:00:00.000Z', revision = revision + 1 "
                         "WHERE kind = 0 AND number = 2 AND verse = 254 AND origin = 0; COMMIT;"));
        }
        bench.add(QStringLiteral("reader's note saved after a typed letter, painted"), times,
                  floors);
        editor->close();
        sqlite3_close(floorDb);
    }

    // At rest: the Quran page shown and nothing happening for ten seconds.
    // One second first for what the last action left pending (layouts, cache sweeps).
    QTimer::singleShot(1000, &app, &QCoreApplication::quit);
    app.exec();
    TimerCounter timers;
    app.installEventFilter(&timers);
    const double cpuBefore = cpuSeconds();
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    app.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    app.removeEventFilter(&timers);
    bench.note(QStringLiteral("at rest for 10 s: CPU time used"),
               QStringLiteral("%1 ms").arg(cpu * 1000, 0, 'f', 1));
    QStringList receivers;
    for (auto it = timers.receivers.cbegin(); it != timers.receivers.cend(); ++it)
        receivers << QStringLiteral("%1 × %2").arg(it.key().trimmed()).arg(it.value());
    bench.note(
        QStringLiteral("at rest for 10 s: timer wake-ups (the one ending the wait counted)"),
        QStringLiteral("%1 (%2)").arg(timers.count).arg(receivers.join(QStringLiteral(", "))));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    bench.note(QStringLiteral("peak resident memory"),
               QStringLiteral("%1 MB").arg(double(usage.ru_maxrss) / 1024.0, 0, 'f', 1));

    std::printf("%s", qUtf8Printable(bench.table()));
    Program::destroyWindows();
    return 0;
}
