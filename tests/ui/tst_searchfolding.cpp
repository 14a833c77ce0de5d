#include "app/Program.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "support/ProgramFixture.h"
#include "ui/main/DataGrid.h"
#include "ui/main/GridFindDialog.h"
#include "ui/main/Tmain.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"

#include <QCheckBox>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <sqlite3.h>

// What a Persian reader types, searched in every scope of the real program, against counts
// worked out here: the database's stored texts read straight from the file and folded by a
// small folding of the test's own.
namespace {

// The test's own folding: one letter for each hamza and alef form, yeh, kaf and heh forms, one
// digit for the three digit sets; marks, tatweel and joiners dropped; every run of blanks and
// punctuation marks one plain blank.
QString referenceFold(const QString &text)
{
    static const QHash<char16_t, char16_t> letters = {
        {u'أ', u'ا'}, {u'إ', u'ا'}, {u'آ', u'ا'}, {u'ٱ', u'ا'}, {u'ؤ', u'و'}, {u'ی', u'ي'},
        {u'ى', u'ي'}, {u'ئ', u'ي'}, {u'ک', u'ك'}, {u'ة', u'ه'}, {u'ۀ', u'ه'},
    };
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool dropped = (u >= 0x064B && u <= 0x065F) || u == 0x0670 ||
                             (u >= 0x06D6 && u <= 0x06ED) || u == 0x0640 || u == 0x0621 ||
                             (u >= 0x200C && u <= 0x200F);
        if (dropped)
            continue;
        if (c.isSpace() || c.isPunct()) {
            if (!out.endsWith(QLatin1Char(' ')))
                out += QLatin1Char(' ');
        } else if ((u >= 0x0660 && u <= 0x0669) || (u >= 0x06F0 && u <= 0x06F9))
            out += QChar(u'0' + c.digitValue());
        else
            out += QChar(letters.value(u, c.toCaseFolded().unicode()));
    }
    return out;
}

// The rows of a LIKE pattern, as the database's LIKE is meant to find them: '%' any run, '_'
// any one character, a blank any blank or punctuation mark.
QRegularExpression referencePattern(const QString &pattern)
{
    QString re = QStringLiteral("^");
    QString literal;
    const auto flush = [&] {
        re += QRegularExpression::escape(referenceFold(literal));
        literal.clear();
    };
    for (const QChar c : pattern) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_')) {
            flush();
            re += c == QLatin1Char('%') ? QStringLiteral(".*") : QStringLiteral(".");
        } else {
            literal += c;
        }
    }
    flush();
    return QRegularExpression(re + QLatin1Char('$'),
                              QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

class tst_SearchFolding : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;
    // The stored texts of each searched column, read once.
    QHash<QString, QStringList> m_columns;

    const QStringList &column(const QString &name)
    {
        QStringList &texts = m_columns[name];
        if (!texts.isEmpty())
            return texts;
        sqlite3 *db = nullptr;
        sqlite3_open_v2(KEVRAN_TEST_DATABASE, &db, SQLITE_OPEN_READONLY, nullptr);
        const bool verse = name == QLatin1String("search1") || name == QLatin1String("English");
        const QByteArray sql = "SELECT " + name.toUtf8() + " FROM main WHERE " +
                               (verse ? "id1 IS NOT NULL" : "Code IS NOT NULL");
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
            texts << referenceFold(QString::fromUtf8(text ? text : ""));
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        if (texts.isEmpty())
            qWarning() << "no texts in" << name << sql;
        return texts;
    }

    int expected(const QString &name, const QString &pattern, bool exact)
    {
        const QRegularExpression re = referencePattern(pattern);
        int count = 0;
        for (const QString &text : column(name)) {
            if (re.match(exact ? QLatin1Char(' ') + text + QLatin1Char(' ') : text).hasMatch())
                ++count;
        }
        return count;
    }

private slots:
    void initTestCase()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
    }
    void cleanupTestCase() { m_program.reset(); }

    void typedQueries_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("atLeast"); // a floor, so that a broken reference cannot pass
        struct Case {
            const char *scope;
            bool exact;
            const char *typed;
            int atLeast;
        };
        // scope: quick-ar / quick-fa (the Quran page's quick search), s3 s4 s1 s2 (the search
        // page's Quran text, Quran translation, Nahj text, Nahj translation).
        const Case cases[] = {
            // Hamza and alef forms typed plain, and the text's own spelling typed back.
            {"quick-ar", false, "ابراهیم", 63},
            {"quick-ar", false, "إبراهيم", 63},
            {"quick-ar", false, "مومن", 200},
            {"quick-ar", false, "مؤمن", 200},
            {"quick-ar", false, "قران", 69},
            {"quick-ar", false, "قرآن", 69},
            {"quick-ar", false, "الاخره", 110},
            {"quick-ar", false, "الآخرة", 110},
            {"quick-ar", false, "رحمه", 75},
            {"quick-ar", false, "رحمة", 75},
            {"quick-ar", false, "اکبر", 1},
            {"quick-ar", false, "أكبر", 1},
            {"quick-ar", false, "ایمان", 1},
            {"quick-ar", false, "انسان", 1},
            {"quick-ar", false, "الإنسان", 1},
            {"quick-ar", false, "سئل", 1},
            {"quick-ar", false, "شیء", 1},
            {"quick-ar", false, "شی", 1},
            {"quick-ar", false, "ٱلله", 1},
            // Text pasted from the Arabic pane, typed shadda and tatweel.
            {"quick-ar", false, "الْحَمْدُ لِلَّهِ", 23},
            {"quick-ar", false, "بِسْمِ اللَّهِ", 1},
            {"quick-ar", false, "اللّه", 1},
            {"quick-ar", false, "الـله", 1},
            {"quick-ar", false, "الرحمن الرحيم", 1},
            // The translation: harakat in the text, ZWNJ on either side.
            {"quick-fa", false, "توکل", 38},
            {"quick-fa", false, "محمد", 16},
            {"quick-fa", false, "جهنم", 52},
            {"quick-fa", false, "می‌کند", 406},
            {"quick-fa", false, "میکند", 406},
            {"quick-fa", false, "نمی‌دانید", 1},
            {"quick-fa", false, "خداوند", 1},
            {"quick-fa", false, "كتاب", 1},
            {"quick-fa", false, "۱۲", 0},
            {"quick-fa", false, "12", 0},
            {"quick-fa", false, "ALLAH", 0},
            // The search page's four scopes, partial.
            {"s3", false, "ابراهیم", 63},
            {"s3", false, "السماء", 1},
            {"s3", false, "السما", 1},
            {"s3", false, "يا أيها الذين آمنوا", 80},
            {"s3", false, "يا ايها الذين امنوا", 80},
            {"s3", false, "ق_ل", 1},
            {"s3", false, "%", 6236},
            {"s4", false, "می‌کند", 406},
            {"s4", false, "پیامبر", 1},
            {"s4", false, "قیامت", 1},
            {"s1", false, "الأرض", 51},
            {"s1", false, "الارض", 51},
            {"s1", false, "أمير", 54},
            {"s1", false, "امير", 54},
            {"s1", false, "المؤمنين", 1},
            {"s1", false, "الدنیا", 1},
            {"s2", false, "می‌کند", 135},
            {"s2", false, "میکند", 135},
            {"s2", false, "امیرالمؤمنین", 1},
            {"s2", false, "خطبه ۱", 0},
            {"s2", false, "خطبه 1", 0},
            // Exact mode: whole words, next to punctuation as well.
            {"s4", true, "خدا", 1240},
            {"s4", true, "کتاب", 1},
            {"s3", true, "الله", 1},
            {"s3", true, "الْحَمْدُ", 1},
            {"s3", true, "رحمه", 1},
            {"s1", true, "الارض", 1},
            {"s1", true, "الله", 1},
            {"s2", true, "خدا", 1},
            {"s2", true, "می‌کند", 1},
            {"s2", true, "میکند", 1},
        };
        for (const Case &c : cases)
            QTest::addRow("%s %s %s", c.scope, c.exact ? "exact" : "partial", c.typed)
                << QString::fromLatin1(c.scope) << c.exact << QString::fromUtf8(c.typed)
                << c.atLeast;
    }
    // The grids' find dialog folds as the searches do: the verse of sura 14 holding إبراهيم
    // is found from the plain spelling, and the vocalised text from typed marks.
    void gridFindDialog()
    {
        QuranPage *quran = m_program->window()->TabSheet1.get();
        quran->ListBox5->setCurrentRow(13);
        GridFindDialog *find = quran->DbAltGrid3->findDialog();
        find->FindText->setText(QString::fromUtf8("ابراهیم"));
        QVERIFY(find->findNext());
        QCOMPARE(quran->DbAltGrid3->currentIndex().row(), 34); // 14:35 alone holds it
        find->FindText->setText(QString::fromUtf8("اللّـه"));   // typed shadda and tatweel
        QVERIFY(find->findNext());
        find->FindText->setText(QString::fromUtf8("zzqq"));
        QVERIFY(!find->findNext());
    }

    void typedQueries()
    {
        QFETCH(QString, scope);
        QFETCH(bool, exact);
        QFETCH(QString, typed);
        QFETCH(int, atLeast);
        MemoryDialogs dialogs;
        Tmain *window = m_program->window();
        int found = 0;
        QString column;
        if (scope.startsWith(QLatin1String("quick"))) {
            QuranPage *quran = window->TabSheet1.get();
            const bool arabic = scope.endsWith(QLatin1String("ar"));
            (arabic ? quran->ar : quran->fa)->setChecked(true);
            quran->Edit1->setText(typed);
            quran->BitBtn6->click();
            found = m_program->verses()->recordCount();
            column = arabic ? QStringLiteral("search1") : QStringLiteral("English");
        } else {
            SearchPage *search = window->TabSheet3.get();
            auto *radio = search->findChild<QRadioButton *>(scope);
            radio->click();
            search->b1->setChecked(exact);
            search->Edit2->setText(typed);
            search->BitBtn5->click();
            found = kevran::DataModule2->ADOQuery2->recordCount();
            const QHash<QString, QString> columns = {
                {"s3", "search1"}, {"s4", "English"}, {"s1", "search"}, {"s2", "Farsi"}};
            column = columns.value(scope);
        }
        const QString pattern = exact
                                    ? QStringLiteral("% ") + typed.trimmed() + QStringLiteral(" %")
                                    : QStringLiteral("%") + typed + QStringLiteral("%");
        QCOMPARE(found, expected(column, pattern, exact));
        QVERIFY2(found >= atLeast, qPrintable(QString::number(found)));
    }
};

QTEST_MAIN(tst_SearchFolding)
#include "tst_searchfolding.moc"
