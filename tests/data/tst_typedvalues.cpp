#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/IntegerText.h"
#include "data/SqlValue.h"
#include "platform/Error.h"
#include "support/FixtureDatabase.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<int>)

class tst_TypedValues : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Connection m_connection;

    int count(const QString &where)
    {
        DataSet set(&m_connection);
        set.addSql(QStringLiteral("SELECT * "));
        set.addSql(QStringLiteral("From Main left join Num on Main.id1=Num.id"));
        set.addSql(where);
        set.open();
        return set.recordCount();
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("1.db"));
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), QStringLiteral("it's"),
                                       QStringLiteral("s"), QStringLiteral("aa")},
                                      {1, 2, QStringLiteral("b"), QStringLiteral("x"),
                                       QStringLiteral("t"), QStringLiteral("bb")}});
        m_connection.setFileName(path);
    }

    void textStaysText()
    {
        QCOMPARE(SqlValue::quoted(QStringLiteral("it's")), QStringLiteral("'it''s'"));
        QCOMPARE(SqlValue::quoted(QString()), QStringLiteral("''"));
        QCOMPARE(SqlValue::insideQuotes(QStringLiteral("''")), QStringLiteral("''''"));

        // Typed text finds what it says and never changes the statement's meaning.
        const auto like = [this](const QString &typed) {
            return count(QStringLiteral("WHERE ( English like '%") + SqlValue::insideQuotes(typed) +
                         QStringLiteral("%') "));
        };
        QCOMPARE(like(QStringLiteral("it's")), 1);
        QCOMPARE(like(QStringLiteral("1') OR (1=1")), 0);
        QCOMPARE(like(QStringLiteral("') OR ('1'='1")), 0);
        QCOMPARE(like(QStringLiteral("x'); DROP TABLE num; --")), 0);
        QCOMPARE(like(QString()), 2);
        QCOMPARE(count(QStringLiteral("WHERE (chapter like ") +
                       SqlValue::quoted(QStringLiteral("1' OR '1'='1")) + QStringLiteral(") ")),
                 0);
    }

    void numbersMustBeIntegers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("number");
        QTest::newRow("plain") << "12"
                               << "12";
        QTest::newRow("blanks") << " 7 "
                                << "7";
        QTest::newRow("sign") << "-3"
                              << "-3";
        QTest::newRow("plus") << "+3"
                              << "3";
        QTest::newRow("injection") << "1) OR (1=1" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("blank") << " " << QString();
        QTest::newRow("apostrophe") << "1'" << QString();
        QTest::newRow("hex") << "0x10" << QString();
        QTest::newRow("fraction") << "1.5" << QString();
        QTest::newRow("too long") << QString(40, QLatin1Char('9')) << QString();
        QTest::newRow("largest") << "9223372036854775807"
                                 << "9223372036854775807";
        QTest::newRow("smallest") << "-9223372036854775808"
                                  << "-9223372036854775808";
        QTest::newRow("just too large") << "9223372036854775808" << QString();
        QTest::newRow("just too small") << "-9223372036854775809" << QString();
        QTest::newRow("tab and line break") << "\t12\n"
                                            << "12";
        QTest::newRow("dollar hex") << "$10" << QString();
        QTest::newRow("sign only") << "-" << QString();
        QTest::newRow("blank after sign") << "- 3" << QString();
        QTest::newRow("persian digits") << QString::fromUtf8(" ۲۵۵ ") << QStringLiteral("255");
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("-٢") << QStringLiteral("-2");
    }
    void numbersMustBeIntegers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, number);
        try {
            QCOMPARE(SqlValue::integer(typed), number);
            QVERIFY(!number.isNull());
        } catch (const Error &e) {
            QVERIFY(number.isNull());
            QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(typed));
        }
    }

    void integerConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("value");
        QTest::newRow("decimal") << "114" << std::optional<int>(114);
        QTest::newRow("leading blanks") << "   9" << std::optional<int>(9);
        QTest::newRow("trailing blank") << "9 " << std::optional<int>();
        QTest::newRow("sign") << "-3" << std::optional<int>(-3);
        QTest::newRow("dollar hex") << "$1F" << std::optional<int>(31);
        QTest::newRow("0x hex") << "0x1f" << std::optional<int>(31);
        QTest::newRow("negative hex") << "-$10" << std::optional<int>(-16);
        QTest::newRow("all bits") << "$FFFFFFFF" << std::optional<int>(-1);
        QTest::newRow("max") << "2147483647" << std::optional<int>(2147483647);
        QTest::newRow("min") << "-2147483648" << std::optional<int>(INT_MIN);
        QTest::newRow("overflow") << "2147483648" << std::optional<int>();
        QTest::newRow("empty") << "" << std::optional<int>();
        QTest::newRow("sign only") << "-" << std::optional<int>();
        QTest::newRow("dollar only") << "$" << std::optional<int>();
        QTest::newRow("letters") << "12a" << std::optional<int>();
        QTest::newRow("hex digit in decimal") << "1f" << std::optional<int>();
        QTest::newRow("tab") << "\t1" << std::optional<int>();
        QTest::newRow("persian digits") << QString::fromUtf8("۱۱۴") << std::optional<int>(114);
        QTest::newRow("arabic-indic digits")
            << QString::fromUtf8("-٢٥٥") << std::optional<int>(-255);
        QTest::newRow("mixed digit sets") << QString::fromUtf8("1۲٣") << std::optional<int>(123);
        QTest::newRow("persian digit in hex") << QString::fromUtf8("$۱F") << std::optional<int>(31);
        QTest::newRow("other digits") << QString::fromUtf8("१२") << std::optional<int>();
    }
    void integerConversion()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<int>, value);
        QCOMPARE(IntegerText::parse(text), value);
    }

    void integerConversionError()
    {
        try {
            IntegerText::toInt(QStringLiteral("1x"));
            QFAIL("converted");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("'1x' is not a valid integer value"));
        }
    }
};

QTEST_MAIN(tst_TypedValues)
#include "tst_typedvalues.moc"
