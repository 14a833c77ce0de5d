#include "app/Program.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "data/TextFolding.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryKeyboardLayout.h"
#include "support/ProgramFixture.h"
#include "ui/main/DataGrid.h"
#include "ui/main/Tmain.h"
#include "ui/search/SearchPage.h"

#include <QCheckBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

// The search page against the real text database.
class tst_SearchPage : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;
    SearchPage *page = nullptr;
    DataSet *results = nullptr;

    QString where() const { return results->sql().value(2); }
    QString current(const char *field) const { return results->fieldText(QLatin1String(field)); }

    QStringList search(QRadioButton *scope, bool exact, const QString &term)
    {
        MemoryDialogs dialogs;
        scope->click();
        page->b1->setChecked(exact);
        page->Edit2->setText(term);
        page->BitBtn5->click();
        return dialogs.texts();
    }

    // The colour of each character of the result text: r red, b black. Text is black; hits
    // are drawn red over it.
    QString colours() const
    {
        QString out;
        const QTextDocument *doc = page->DBRichEdit1->document();
        for (int i = 0; i < doc->characterCount() - 1; ++i) {
            QTextCursor at(const_cast<QTextDocument *>(doc));
            at.setPosition(i);
            at.setPosition(i + 1, QTextCursor::KeepAnchor);
            bool red = at.charFormat().foreground().color() == Qt::red;
            for (const SearchPage::Hit &hit : page->DBRichEdit1->hits())
                red = red || (hit.from <= i && i < hit.to);
            out += red ? 'r' : 'b';
        }
        return out;
    }

    QString colour(const QString &text, const QString &term)
    {
        page->Edit2->setText(term);
        page->DBRichEdit1->setPlainText(text);
        page->DBRichEdit1Change();
        return colours();
    }

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        page = m_program->window()->TabSheet3.get();
        results = kevran::DataModule2->ADOQuery2;
    }
    void cleanup() { m_program.reset(); }

    void startState()
    {
        QVERIFY(page->s3->isChecked());
        QVERIFY(!page->b1->isChecked());
        QCOMPARE(page->Edit2->text(), QString::fromUtf8("الله"));
        QCOMPARE(page->s51->text(), QStringLiteral("0"));
        QCOMPARE(page->DbAltGrid4->model()->rowCount(), 0);
        QCOMPARE(page->s2->text(), QString::fromUtf8("ترجمه تهج البلاغه"));
        QVERIFY(!results->isActive());
    }

    void statements_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("term");
        const QString quran = QStringLiteral("From num left join main on num.id=main.id1");
        const QString nahj = QStringLiteral("FROM main");
        QTest::newRow("quran exact")
            << "s3" << true << quran
            << QString::fromUtf8("WHERE  (' ' || search1 || ' ') like '% الله %'")
            << QString::fromUtf8("الله");
        QTest::newRow("quran partial")
            << "s3" << false << quran << QString::fromUtf8("WHERE ( search1 like '%الله%') ")
            << QString::fromUtf8("الله");
        QTest::newRow("translation exact")
            << "s4" << true << quran
            << QString::fromUtf8("WHERE  (' ' || english || ' ') like '% خدا %'")
            << QString::fromUtf8("خدا");
        QTest::newRow("translation partial")
            << "s4" << false << quran << QString::fromUtf8("WHERE ( English like '%خدا%') ")
            << QString::fromUtf8("خدا");
        QTest::newRow("nahj exact")
            << "s1" << true << nahj
            << QString::fromUtf8("WHERE  (' ' || search || ' ') like '% الله %'")
            << QString::fromUtf8("الله");
        QTest::newRow("nahj partial")
            << "s1" << false << nahj << QString::fromUtf8("WHERE ( search like '%الله%') ")
            << QString::fromUtf8("الله");
        QTest::newRow("nahj translation exact")
            << "s2" << true << nahj
            << QString::fromUtf8("WHERE  (' ' || farsi || ' ') like '% الله %'")
            << QString::fromUtf8("الله");
        QTest::newRow("nahj translation partial")
            << "s2" << false << nahj << QString::fromUtf8("WHERE ( farsi like '%الله%') ")
            << QString::fromUtf8("الله");
    }
    void statements()
    {
        QFETCH(QString, scope);
        QFETCH(bool, exact);
        QFETCH(QString, from);
        QFETCH(QString, where);
        QFETCH(QString, term);
        const QStringList shown = search(page->findChild<QRadioButton *>(scope), exact, term);
        QCOMPARE(results->sql(), QStringList({QStringLiteral("SELECT * "), from, where}));
        const int hits = results->recordCount();
        QVERIFY(hits > 10);
        QCOMPARE(shown, QStringList(QString::number(hits) + QString::fromUtf8("مورد نتيجه داشت")));
        QCOMPARE(page->s51->text(), QString::number(hits));
        QCOMPARE(page->DbAltGrid4->model()->rowCount(), hits);
        QVERIFY(!page->DBRichEdit1->toPlainText().isEmpty());
        // The grid lists verses by sura name and number, items of the book by title.
        const bool quran = from.startsWith(QLatin1String("From num"));
        QCOMPARE(page->DbAltGrid4->isColumnHidden(1), !quran);
        QCOMPARE(page->DbAltGrid4->model()->index(0, 0).data().toString(),
                 current(quran ? "name" : "Name2"));
    }

    void outcomes()
    {
        QCOMPARE(search(page->s3, false, QStringLiteral("zzqq")),
                 QStringList(QString::fromUtf8("چيزي يافت نشد ")));
        QCOMPARE(results->recordCount(), 0);
        QCOMPARE(page->s51->text(), QStringLiteral("0"));

        // An empty box still runs the statement and asks for a word.
        QCOMPARE(search(page->s3, false, QString()),
                 QStringList(QString::fromUtf8("لطفا کلمه اي براي جستجو بنويسيد")));
        QCOMPARE(results->recordCount(), 6236);

        // An apostrophe is searched for like any character.
        QCOMPARE(search(page->s4, false, QStringLiteral("'")),
                 QStringList(QString::fromUtf8("چيزي يافت نشد ")));
        QVERIFY(results->isActive());
        QCOMPARE(search(page->s4, true, QStringLiteral("it's")),
                 QStringList(QString::fromUtf8("چيزي يافت نشد ")));
    }

    void exactFindsWholeWordsAtTheEnds()
    {
        // 1:2 begins with "الحمد" and ends with "العالمين".
        search(page->s3, true, QString::fromUtf8("الحمد"));
        QCOMPARE(current("chapter") + ':' + current("vers"), QStringLiteral("1:2"));
        search(page->s3, true, QString::fromUtf8(" العالمين "));
        QCOMPARE(current("chapter") + ':' + current("vers"), QStringLiteral("1:2"));
        // Part of a word is not a whole word.
        search(page->s3, true, QString::fromUtf8("الحم"));
        QCOMPARE(results->recordCount(), 0);
        // Partial mode keeps leading blanks: " لله" is not found at the start of a verse.
        search(page->s3, false, QString::fromUtf8("الحمد"));
        const int anywhere = results->recordCount();
        search(page->s3, false, QString::fromUtf8(" الحمد"));
        QVERIFY(results->recordCount() < anywhere);
    }

    void colouringScan()
    {
        // Every occurrence, one after another, as the statement's LIKE finds them.
        QCOMPARE(colour(QStringLiteral("abab"), QStringLiteral("ab")), QStringLiteral("rrrr"));
        QCOMPARE(colour(QStringLiteral("abxab"), QStringLiteral("ab")), QStringLiteral("rrbrr"));
        QCOMPARE(colour(QStringLiteral("aaaaa"), QStringLiteral("aa")), QStringLiteral("rrrrb"));
        // Colouring folds as the statements do: Latin letters without regard to case.
        QCOMPARE(colour(QStringLiteral("Allah allah"), QStringLiteral("allah")),
                 QStringLiteral("rrrrrbrrrrr"));
        // Partial mode keeps the blanks typed: a blank stands for blanks and punctuation.
        QCOMPARE(colour(QStringLiteral("x allah, allah"), QStringLiteral(" allah ")),
                 QStringLiteral("bbrrrrrbbbbbbb"));
        QCOMPARE(colour(QStringLiteral("a:  b ab"), QStringLiteral("a b")),
                 QStringLiteral("rrrrrbbb"));
        QCOMPARE(colour(QStringLiteral("axb ab"), QStringLiteral("a_b")), QStringLiteral("rrrbbb"));
        QCOMPARE(colour(QStringLiteral("axxb ab"), QStringLiteral("a%b")),
                 QStringLiteral("rrrrbrr"));
        // Exact mode colours whole words only, at the text's ends and beside punctuation.
        page->b1->setChecked(true);
        QCOMPARE(colour(QStringLiteral("ab abc cab. ab"), QStringLiteral("ab")),
                 QStringLiteral("rrbbbbbbbbbbrr"));
        page->b1->setChecked(false);
        QCOMPARE(colour(QStringLiteral("xyz"), QString()), QStringLiteral("bbb"));
        // Persian yeh and kaf colour their Arabic forms.
        QCOMPARE(colour(QString::fromUtf8("في كتاب"), QString::fromUtf8("فی")),
                 QStringLiteral("rrbbbbb"));
        QCOMPARE(colour(QString::fromUtf8("في كتاب"), QString::fromUtf8("کتاب")),
                 QStringLiteral("bbbrrrr"));
        // Folded matches: hamza forms, teh marbuta, digits, ZWNJ and pause marks.
        QCOMPARE(colour(QString::fromUtf8("إبراهيم و رحمة"), QString::fromUtf8("ابراهیم")),
                 QStringLiteral("rrrrrrrbbbbbbb"));
        QCOMPARE(colour(QString::fromUtf8("إبراهيم و رحمة"), QString::fromUtf8("رحمه")),
                 QStringLiteral("bbbbbbbbbbrrrr"));
        QCOMPARE(colour(QString::fromUtf8("سوره ١٢"), QString::fromUtf8("۱۲")),
                 QStringLiteral("bbbbbrr"));
        QCOMPARE(colour(QString::fromUtf8("می\u200cکند"), QString::fromUtf8("میکند")),
                 QStringLiteral("rrrrrr"));
        QCOMPARE(colour(QString::fromUtf8("ريب ۛ فيه"), QString::fromUtf8("ريب فيه")),
                 QStringLiteral("rrrrrrrrr"));
        // A hit inside a vocalised word colours the whole word with its marks.
        QCOMPARE(colour(QString::fromUtf8("بِسْمِ اللَّهِ الرَّحْمَٰنِ"), QString::fromUtf8("رحم")),
                 QStringLiteral("bbbbbbbbbbbbbbbrrrrrrrrrrrr"));
        QCOMPARE(colour(QString::fromUtf8("قال الله"), QString::fromUtf8("اللّه")),
                 QStringLiteral("bbbbrrrr"));
        QCOMPARE(colour(QString::fromUtf8("abc"), QString::fromUtf8("ـَ")), QStringLiteral("bbb"));

        // No selection is left: the caret rests at the first hit; copy takes the last one.
        MemoryClipboard clipboard;
        colour(QStringLiteral("xab abyab"), QStringLiteral("ab"));
        QVERIFY(!page->DBRichEdit1->textCursor().hasSelection());
        QCOMPARE(page->DBRichEdit1->textCursor().position(), 1);
        page->N3Click();
        QCOMPARE(clipboard.text(), QStringLiteral("ab"));
        QCOMPARE(page->hits().back().from, 7);
        // The reader's own selection is copied instead.
        QTextCursor own = page->DBRichEdit1->textCursor();
        own.setPosition(0);
        own.setPosition(3, QTextCursor::KeepAnchor);
        page->DBRichEdit1->setTextCursor(own);
        page->N3Click();
        QCOMPARE(clipboard.text(), QStringLiteral("xab"));
    }

    // Colouring changes only the colour of the hits: outside the red ink every pixel of the
    // coloured view is as without colour, on every line of a long vocalised text, whose
    // marks reach into the lines above and below.
    void colouringKeepsTheLetters()
    {
        m_program->window()->resize(1366, 768);
        m_program->window()->setActivePage(page);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_program->window()));
        const QString text =
            QString::fromUtf8("بِسْمِ اللَّهِ الرَّحْمَٰنِ الرَّحِيمِ. قال عليه السلام: ").repeated(60);
        colour(text, QString::fromUtf8("ا"));
        QVERIFY(page->hits().size() > 100);
        const QImage coloured = page->DBRichEdit1->viewport()->grab().toImage();
        page->DBRichEdit1->setHits({}, Qt::red);
        const QImage plain = page->DBRichEdit1->viewport()->grab().toImage();
        QCOMPARE(coloured.size(), plain.size());
        const int rowsPerLine = page->DBRichEdit1->fontMetrics().height();
        for (int top = 0; top < plain.height(); top += rowsPerLine) {
            int differing = 0;
            for (int y = top; y < std::min(top + rowsPerLine, plain.height()); ++y) {
                for (int x = 0; x < plain.width(); ++x) {
                    const QColor c = coloured.pixelColor(x, y);
                    if (c.red() - std::max(c.green(), c.blue()) > 16)
                        continue; // red ink, or red and black ink meeting
                    const QColor p = plain.pixelColor(x, y);
                    differing += std::abs(c.green() - p.green()) > 48;
                }
            }
            QVERIFY2(differing == 0,
                     qPrintable(QStringLiteral("%1 pixels differ in the rows from %2")
                                    .arg(differing)
                                    .arg(top)));
        }
    }

    // Hits are drawn over the text: red pixels where they are, and every letter shaped and
    // joined as in the uncoloured text (a coloured run of its own would split the word).
    void hitsAreRedOverlays()
    {
        m_program->window()->resize(1366, 768);
        m_program->window()->setActivePage(page);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_program->window()));
        const QString text = QString::fromUtf8("بسم الله الرحمن الرحيم. ").repeated(4);
        const auto ink = [&](const QImage &image, bool redOnly) {
            QImage mask(image.size(), QImage::Format_Mono);
            mask.fill(0);
            int count = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    const bool red = c.red() > 150 && c.green() < 100 && c.blue() < 100;
                    // Black and red text cover a pixel alike: green falls with coverage.
                    if (redOnly ? red : c.green() < 190) {
                        mask.setPixel(x, y, 1);
                        ++count;
                    }
                }
            }
            return std::make_pair(mask, count);
        };
        colour(text, QString::fromUtf8("رح"));
        QCOMPARE(int(page->hits().size()), 8);
        const QImage coloured = page->DBRichEdit1->viewport()->grab().toImage();
        page->DBRichEdit1->setHits({}, Qt::red);
        const QImage plain = page->DBRichEdit1->viewport()->grab().toImage();
        if (qEnvironmentVariableIsSet("KEVRAN_SCREENSHOT_DIR")) {
            coloured.save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") + "/search-hits.png");
            plain.save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") + "/search-plain.png");
            const QRect line(coloured.width() - 420, 0, 420, 24);
            coloured.copy(line)
                .scaled(line.size() * 4)
                .save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") + "/search-hits-zoom.png");
            plain.copy(line)
                .scaled(line.size() * 4)
                .save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") + "/search-plain-zoom.png");
        }
        QVERIFY(ink(coloured, true).second > 50);
        QCOMPARE(ink(plain, true).second, 0);
        // Red over the white ground keeps its red channel whole; red over a letter drawn in
        // black loses it at the edges. Only where a coloured letter joins a black one may the
        // two meet.
        int reddish = 0, overDark = 0;
        for (int y = 0; y < coloured.height(); ++y) {
            for (int x = 0; x < coloured.width(); ++x) {
                const QColor c = coloured.pixelColor(x, y);
                if (c.red() - c.green() > 60) {
                    ++reddish;
                    overDark += c.red() < 225;
                }
            }
        }
        QVERIFY2(overDark * 10 < reddish,
                 qPrintable(QStringLiteral("%1 of %2 red pixels").arg(overDark).arg(reddish)));
        // The same pixels carry ink, whatever their colour.
        const auto [withHits, inkedWithHits] = ink(coloured, false);
        const auto [without, inkedPlain] = ink(plain, false);
        const auto differing = [](const QImage &a, const QImage &b) {
            int count = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    count += a.pixelIndex(x, y) != b.pixelIndex(x, y);
            return count;
        };
        QVERIFY(inkedPlain > 500);
        const int moved = differing(withHits, without);
        QVERIFY2(moved * 50 < inkedPlain,
                 qPrintable(QStringLiteral("%1 of %2 pixels").arg(moved).arg(inkedWithHits)));
        // The comparison sees a split word: the hits coloured as runs of their own.
        QTextCharFormat red;
        red.setForeground(QColor(Qt::red));
        for (const SearchPage::Hit &hit : page->hits()) {
            QTextCursor run(page->DBRichEdit1->document());
            run.setPosition(int(hit.from));
            run.setPosition(int(hit.to), QTextCursor::KeepAnchor);
            run.mergeCharFormat(red);
        }
        const QImage split = page->DBRichEdit1->viewport()->grab().toImage();
        QVERIFY(differing(ink(split, false).first, without) > 4 * moved);
        // No selection is drawn: nothing is highlighted in the view.
        QVERIFY(!page->DBRichEdit1->textCursor().hasSelection());
        if (qEnvironmentVariableIsSet("KEVRAN_SCREENSHOT_DIR")) {
            // The page after a real search, as the reader sees it.
            MemoryDialogs dialogs;
            search(page->s1, false, QString::fromUtf8("امير"));
            m_program->window()->grab().save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") +
                                             "/search-page.png");
            search(page->s2, false, QString::fromUtf8("می‌کند"));
            m_program->window()->grab().save(qEnvironmentVariable("KEVRAN_SCREENSHOT_DIR") +
                                             "/search-page-translation.png");
        }
    }

    // In a long text the view shows the first hit, not the last, and selects nothing.
    void viewShowsTheFirstHit()
    {
        m_program->window()->resize(1366, 768);
        m_program->window()->setActivePage(page);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_program->window()));
        const QString filler = QString::fromUtf8("سطر بدون کلمه\n").repeated(200);
        const QString text = filler + QString::fromUtf8("اول یافته\n") + filler +
                             QString::fromUtf8("دوم یافته\n") + filler;
        colour(text, QString::fromUtf8("یافته"));
        QCOMPARE(int(page->hits().size()), 2);
        QTextEdit *view = page->DBRichEdit1;
        QTextCursor first(view->document());
        first.setPosition(int(page->hits().front().from));
        QVERIFY(view->viewport()->rect().contains(view->cursorRect(first)));
        QTextCursor last(view->document());
        last.setPosition(int(page->hits().back().from));
        QVERIFY(!view->viewport()->rect().intersects(view->cursorRect(last)));
        QVERIFY(!view->textCursor().hasSelection());
    }

    // The rows a search lists are coloured by that search, whatever the box holds since: each
    // listed row shows a red hit where the statement's LIKE matched, and the view opens on the
    // first. Blanks stand for punctuation, '_' and '%' are wildcards, exact mode colours whole
    // words only.
    void listedRowsShowTheirHits_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("typed");
        QTest::newRow("across punctuation") << "s3" << false << QString::fromUtf8("قال الله");
        QTest::newRow("underscore") << "s3" << false << QString::fromUtf8("ر_من");
        QTest::newRow("percent") << "s3" << false << QString::fromUtf8("الذين%الله");
        QTest::newRow("exact") << "s3" << true << QString::fromUtf8("الله");
        QTest::newRow("exact, translation") << "s4" << true << QString::fromUtf8("خدا");
        QTest::newRow("marks, Nahj") << "s1" << true << QString::fromUtf8("امير المومنين");
        QTest::newRow("Nahj translation") << "s2" << false << QString::fromUtf8("خدا،");
    }
    void listedRowsShowTheirHits()
    {
        QFETCH(QString, scope);
        QFETCH(bool, exact);
        QFETCH(QString, typed);
        const QString shown =
            QHash<QString, QString>{{QStringLiteral("s1"), QStringLiteral("search")},
                                    {QStringLiteral("s2"), QStringLiteral("farsi")},
                                    {QStringLiteral("s3"), QStringLiteral("search1")},
                                    {QStringLiteral("s4"), QStringLiteral("english")}}
                .value(scope);
        search(page->findChild<QRadioButton *>(scope), exact, typed);
        QVERIFY(results->recordCount() > 0);
        // What the box holds since does not change what colours the listed rows.
        page->Edit2->setText(QStringLiteral("zzqq"));
        page->b1->setChecked(!exact);
        const int column = results->requiredField(shown);
        for (int row = 0; row < results->recordCount(); ++row) {
            const QString text = results->text(row, column);
            const std::vector<SearchPage::Hit> hits = SearchPage::hitsOf(text, typed, exact);
            QVERIFY2(!hits.empty(), qPrintable(QStringLiteral("row %1: %2").arg(row).arg(text)));
            for (const SearchPage::Hit &hit : hits) {
                QVERIFY(hit.from < hit.to);
                if (exact) {
                    QVERIFY(hit.from == 0 || TextFolding::isBoundary(text[hit.from - 1].unicode()));
                    QVERIFY(hit.to == text.size() ||
                            TextFolding::isBoundary(text[hit.to].unicode()));
                }
            }
            if (row < 3) {
                // Through the page: the view opens on the first hit.
                results->gotoBookmark(row);
                QVERIFY(!page->hits().empty());
                QCOMPARE(page->DBRichEdit1->textCursor().position(),
                         int(page->hits().front().from));
            }
        }
    }

    // A long item goes into the view as its beginning, past the first hit, and its rest follows
    // once the window has painted: the event loop paints the beginning first, then the view
    // holds the whole text, hits and all.
    void longTextFollowsItsBeginning()
    {
        struct PaintSpy : QObject {
            QTextEdit *view = nullptr;
            QList<int> lengths; // the view's text length at each paint
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    lengths << view->document()->characterCount();
                return false;
            }
        } spy;
        spy.view = page->DBRichEdit1;
        m_program->window()->resize(1366, 768);
        m_program->window()->setActivePage(page);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_program->window()));
        page->DBRichEdit1->viewport()->installEventFilter(&spy);

        search(page->s1, false, QString::fromUtf8("ذم ابليس"));
        const QString whole = current("search");
        QVERIFY(whole.size() > 10000);
        QVERIFY(page->DBRichEdit1->toPlainText().size() < whole.size());
        QVERIFY(page->DBRichEdit1->toPlainText().size() > page->hits().front().to);
        QTRY_COMPARE(page->DBRichEdit1->toPlainText(), whole);
        QVERIFY(!spy.lengths.isEmpty());
        QVERIFY2(spy.lengths.first() < whole.size(), "the rest went in before the first paint");
        QCOMPARE(page->DBRichEdit1->textCursor().position(), int(page->hits().front().from));
        // A row moved to before the rest came: only the new row's text is in the view.
        search(page->s1, false, QString::fromUtf8("عليه السلام"));
        QVERIFY(page->DBRichEdit1->toPlainText().size() < current("search").size());
        results->next();
        QTRY_COMPARE(page->DBRichEdit1->toPlainText(), current("search"));
    }

    // A search paints what it changed: the page's list, text and count, not the tab bar or the
    // buttons; a page that comes to need more room still makes the window's minimum larger.
    void searchPaintsWhatChanged()
    {
        struct PaintCount : QObject {
            QHash<QObject *, int> paints;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    ++paints[watched];
                return false;
            }
        } counter;
        Tmain *window = m_program->window();
        window->resize(1366, 768);
        window->setActivePage(page);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        search(page->s1, false, QString::fromUtf8("الله"));
        QTest::qWait(50);
        QWidget *tabBar = window->PageControl1->tabBar();
        for (QObject *watched : QList<QObject *>{tabBar, page->BitBtn5, page->s51})
            watched->installEventFilter(&counter);
        search(page->s3, false, QString::fromUtf8("زنجبيلا"));
        QTRY_VERIFY(counter.paints.value(page->s51) > 0);
        QTest::qWait(50);
        QCOMPARE(counter.paints.value(tabBar), 0);
        QCOMPARE(counter.paints.value(page->BitBtn5), 0);

        const QSize before = window->minimumSize();
        page->BitBtn5->setMinimumHeight(before.height() + 100);
        QTRY_VERIFY(window->minimumSize().height() > before.height() + 100);
    }

    void scopeChangeEmptiesThePage()
    {
        search(page->s3, false, QString::fromUtf8("الله"));
        QVERIFY(page->s51->text() != QLatin1String("0"));
        page->s2->click();
        QVERIFY(!results->isActive());
        QCOMPARE(page->DbAltGrid4->model()->rowCount(), 0);
        QCOMPARE(page->DBRichEdit1->toPlainText(), QString());
        QCOMPARE(page->s51->text(), QStringLiteral("0"));
        QCOMPARE(page->Edit2->text(), QString::fromUtf8("الله"));
    }

    void copyAndKeyboard()
    {
        MemoryClipboard clipboard;
        MemoryKeyboardLayout layouts;
        search(page->s3, false, QString::fromUtf8("الله"));
        page->N3->trigger();
        QCOMPARE(clipboard.text(), QString::fromUtf8("الله"));

        m_program->window()->show();
        m_program->window()->setActivePage(page);
        QVERIFY(QTest::qWaitForWindowActive(m_program->window()));
        page->Edit2->setFocus();
        QCOMPARE(layouts.activated(), QStringList(KeyboardLayout::Persian));
        QTest::mouseClick(page->Edit2, Qt::LeftButton);
        QCOMPARE(page->Edit2->selectedText(), page->Edit2->text());

        MemoryDialogs dialogs;
        page->Edit2->setText(QStringLiteral("zzqq"));
        QTest::keyClick(page->Edit2, Qt::Key_Return);
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("چيزي يافت نشد ")));
    }
};

QTEST_MAIN(tst_SearchPage)
#include "tst_searchpage.moc"
