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
