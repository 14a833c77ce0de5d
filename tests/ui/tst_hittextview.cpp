#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "ui/main/RightToLeftText.h"
#include "ui/search/HitTextView.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

// A long text inserted in pieces of alternating formats draws exactly as inserted in one
// piece, and the pieces end only between words.
class tst_HitTextView : public QObject {
    Q_OBJECT

    // The longest items of the book, text and translation: vocalised Arabic with its marks,
    // and Persian with its zero-width non-joiners.
    static QStringList longTexts()
    {
        SqliteConnection db;
        db.open(QByteArray(KEVRAN_TEST_DATABASE), SQLITE_OPEN_READONLY);
        SqliteStatement item(db.handle(),
                             "SELECT arabic2, Farsi FROM main WHERE Code = 2 AND ID = 53");
        if (!item.step())
            return {};
        return {item.columnText(0), item.columnText(1)};
    }

    static void show(HitTextView &view, const QString &text, bool inPieces)
    {
        RightToLeftText::apply(&view);
        view.setReadOnly(true);
        view.resize(900, 700);
        QTextCursor cursor(view.document());
        if (inPieces)
            HitTextView::insertInPieces(cursor, text, QTextCharFormat());
        else
            cursor.insertText(text, QTextCharFormat());
        view.show();
    }

private slots:
    // A selection over hits is drawn whole: its ground lies under the hits too, with the hits
    // red on it, and no hole where a hit stands.
    void selectionOverHits()
    {
        const QString text = QString::fromUtf8("بسم الله الرحمن الرحيم. ").repeated(6);
        HitTextView view;
        show(view, text, true);
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTextCursor all(view.document());
        all.setPosition(0);
        all.setPosition(int(text.size() / 2), QTextCursor::KeepAnchor);
        view.setTextCursor(all);
        std::vector<HitTextView::Range> hits;
        for (qsizetype at = text.indexOf(QString::fromUtf8("الله")); at >= 0;
             at = text.indexOf(QString::fromUtf8("الله"), at + 1))
            hits.push_back({at, at + 4});
        const QColor ground = view.palette().color(
            view.hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
        const auto count = [&](const QImage &image, auto &&test) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += test(image.pixelColor(x, y));
            return n;
        };
        const auto isGround = [&](const QColor &c) { return c == ground; };
        const auto isRed = [](const QColor &c) {
            return c.red() > 150 && c.green() < 100 && c.blue() < 100;
        };
        view.setHits({}, Qt::red);
        const QImage plain = view.viewport()->grab().toImage();
        view.setHits(hits, Qt::red);
        const QImage coloured = view.viewport()->grab().toImage();
        const int selected = count(plain, isGround);
        QVERIFY(selected > 1000);
        QVERIFY(count(coloured, isRed) > 50);
        // Red ink takes a little of the ground where it stands; a hole would take the boxes.
        QVERIFY2(
            count(coloured, isGround) * 100 >= selected * 98,
            qPrintable(QStringLiteral("%1 of %2").arg(count(coloured, isGround)).arg(selected)));
    }

    void piecesDrawAsOneRun()
    {
        const QStringList texts = longTexts();
        QCOMPARE(texts.size(), 2);
        for (const QString &text : texts) {
            QVERIFY(text.size() > 10000);
            HitTextView whole, pieces;
            show(whole, text, false);
            show(pieces, text, true);
            QVERIFY(QTest::qWaitForWindowExposed(&pieces));
            QCOMPARE(pieces.toPlainText(), whole.toPlainText());

            // The runs: many, each but a paragraph's last ending in a blank that a letter
            // follows.
            int runs = 0;
            for (QTextBlock block = pieces.document()->begin(); block.isValid();
                 block = block.next()) {
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QString run = it.fragment().text();
                    ++runs;
                    const int end = it.fragment().position() + it.fragment().length();
                    if (end < block.position() + block.length() - 1) {
                        QVERIFY(run.endsWith(u' '));
                        QVERIFY(text[end].isLetter());
                    }
                }
            }
            QVERIFY(runs > text.size() / 512);

            // Every glyph where it was, at the top, in the middle and at the end, and so are
            // the hits drawn over them.
            std::vector<HitTextView::Range> hits;
            for (qsizetype at = text.indexOf(u'ا'); at >= 0; at = text.indexOf(u'ا', at + 1))
                hits.push_back({at, at + 1});
            whole.setHits(hits, Qt::red);
            pieces.setHits(hits, Qt::red);
            for (const double place : {0.0, 0.5, 1.0}) {
                for (HitTextView *view : {&whole, &pieces}) {
                    QScrollBar *bar = view->verticalScrollBar();
                    bar->setValue(int(bar->maximum() * place));
                }
                QCOMPARE(pieces.verticalScrollBar()->value(), whole.verticalScrollBar()->value());
                const QImage expected = whole.viewport()->grab().toImage();
                QVERIFY(pieces.viewport()->grab().toImage() == expected);
            }
        }
    }
};

QTEST_MAIN(tst_HitTextView)
#include "tst_hittextview.moc"
