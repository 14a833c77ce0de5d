#include "app/Program.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "platform/Messages.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramFixture.h"
#include "ui/main/DataGrid.h"
#include "ui/main/DataGridModel.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

// Watches a model for what Qt's own tester lets pass: a reset that was never announced, an
// announcement that never ends, a row or header change while a reset is under way, and rows
// announced for a set that is already gone.
class ResetOrder : public QObject {
public:
    ResetOrder(QAbstractItemModel *model, QStringList *faults)
        : QObject(model)
        , m_faults(faults)
    {
        const QString name = model->objectName().isEmpty()
                                 ? QString::fromLatin1(model->metaObject()->className())
                                 : model->objectName();
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this, name] {
            if (m_resetting)
                m_faults->append(name + QStringLiteral(": a reset announced twice"));
            m_resetting = true;
        });
        connect(model, &QAbstractItemModel::modelReset, this, [this, name] {
            if (!m_resetting)
                m_faults->append(name + QStringLiteral(": a reset without its announcement"));
            m_resetting = false;
            ++m_resets;
        });
        const auto changeOutsideReset = [this, name] {
            if (m_resetting)
                m_faults->append(name + QStringLiteral(": a change in the middle of a reset"));
        };
        connect(model, &QAbstractItemModel::dataChanged, this, changeOutsideReset);
        connect(model, &QAbstractItemModel::headerDataChanged, this, changeOutsideReset);
        connect(model, &QAbstractItemModel::rowsInserted, this, changeOutsideReset);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changeOutsideReset);
    }
    int resets() const { return m_resets; }

private:
    QStringList *m_faults;
    bool m_resetting = false;
    int m_resets = 0;
};

// Both watchers on a model; Qt's tester lives as long as its owner, the model itself unless
// given.
ResetOrder *watch(QAbstractItemModel *model, QStringList *faults, QObject *owner = nullptr)
{
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal,
                                 owner ? owner : model);
    return new ResetOrder(model, faults);
}

// Every cell and header of a model read, as a view painting it whole would read them.
void readAll(const QAbstractItemModel *model, const QModelIndex &parent = {})
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        model->headerData(row, Qt::Vertical, Qt::DisplayRole);
        for (int column = 0; column < model->columnCount(parent); ++column) {
            const QModelIndex index = model->index(row, column, parent);
            for (const int role : {Qt::DisplayRole, Qt::BackgroundRole, Qt::TextAlignmentRole})
                index.data(role);
            if (column == 0)
                readAll(model, index);
        }
    }
}

} // namespace

// The program's item models (the verse grid's, the result grid's, the Nahj contents tree's)
// under Qt's model tester, through what a reader does with them and through the program's end.
class tst_Models : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_faults;

    static QuranPage *quran() { return kevran::main->TabSheet1.get(); }
    static SearchPage *search() { return kevran::main->TabSheet3.get(); }

    QString smallDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("small.db"));
        if (!QFile::exists(path)) {
            FixtureDatabase::write(path, {{1, 1, QStringLiteral("بسم"), QStringLiteral("به نام"),
                                           QStringLiteral("بسم"), QStringLiteral("aa")},
                                          {1, 2, QStringLiteral("الحمد"), QStringLiteral("ستايش"),
                                           QStringLiteral("الحمد"), QString()},
                                          {2, 1, QStringLiteral("الم"), QStringLiteral("الف لام"),
                                           QStringLiteral("الم"), QStringLiteral("bb")}});
        }
        return path;
    }

private slots:
    void init() { m_faults.clear(); }

    void verseGrid()
    {
        MemoryDialogs dialogs;
        QPointer<QAbstractItemModel> model;
        ResetOrder *order = nullptr;
        {
            ProgramFixture program;
            QVERIFY(program.started());
            Tmain *window = program.window();
            VerseGrid *grid = quran()->DbAltGrid3;
            model = grid->model();
            order = watch(model, &m_faults);
            window->resize(1366, 768);
            window->show();
            window->setActivePage(quran());
            quran()->CheckBox1->setChecked(true);
            quran()->CheckBox1Click();
            QVERIFY(QTest::qWaitForWindowExposed(window));

            // Suras from the list and by number, a topic, a quick search, a translation.
            quran()->ListBox5->setCurrentRow(3);
            QCOMPARE(model->rowCount(), 176);
            quran()->chapter->setText(QStringLiteral("۲"));
            QCOMPARE(model->rowCount(), 286);
            auto *topic = quran()->findChild<FlatButton *>(QStringLiteral("ttt"));
            QVERIFY(topic);
            topic->click();
            QVERIFY(model->rowCount() > 0);
            quran()->ar->setChecked(true);
            quran()->Edit1->setText(QStringLiteral("الله"));
            quran()->BitBtn6->click();
            QVERIFY(model->rowCount() > 1000);
            quran()->Edit1->setText(QStringLiteral("كككككك"));
            quran()->BitBtn6->click();
            QCOMPARE(model->rowCount(), 0);
            quran()->ListBox5->setCurrentRow(1);
            DisplaySettingsPage *settings = window->TabSheet5.get();
            settings->loadTranslations();
            QVERIFY(settings->TranslationBox->count() > 1);
            settings->TranslationBox->setCurrentIndex(1);
            settings->TranslationBox->setCurrentIndex(0);
            QCOMPARE(model->rowCount(), 286);

            // The current row walked and the grid scrolled to its end and back.
            quran()->BitBtn2->click();
            quran()->BitBtn2->click();
            quran()->BitBtn1->click();
            QCOMPARE(grid->currentIndex().row(), 1);
            grid->scrollToBottom();
            QTest::keyClick(grid->viewport(), Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(grid->viewport(), Qt::Key_PageUp);
            grid->verticalScrollBar()->setValue(0);
            QTest::qWait(1);
            readAll(model);
            QVERIFY(order->resets() >= 7);
            QCOMPARE(m_faults, QStringList());
        }
        // The program's end takes the sets before the window: the grid shows no rows in between.
        QVERIFY(model.isNull());
        QCOMPARE(m_faults, QStringList());
    }

    // A grid over a set opened deferred shows the rows read, the rest as appended rows; the
    // model reads no row and raises nothing. A failure while reading the rest is reported
    // through the usual error report, and the grid empties.
    void deferredRowsReachTheGrid()
    {
        MemoryDialogs dialogs;
        Connection connection;
        connection.setFileName(smallDatabase());
        DataSet set(&connection);
        DataSource source;
        source.setDataSet(&set);
        DataGridModel model(&source, {QStringLiteral("id"), QStringLiteral("v")},
                            {QStringLiteral("id"), QStringLiteral("v")});
        watch(&model, &m_faults);
        for (const bool failing : {false, true}) {
            set.setSql({QStringLiteral("SELECT id, CASE WHEN id < 2 OR %1 THEN id ELSE "
                                       "abs(-9223372036854775808) END AS v FROM num ORDER BY id")
                            .arg(failing ? 0 : 1)});
            set.openDeferred();
            readAll(&model);
            QCOMPARE(model.rowCount(), 1);
            QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("1"));
            QVERIFY(!set.isFetched());
            QCOMPARE(Messages::guard([&] { set.fetchAll(); }), !failing);
            QCOMPARE(model.rowCount(), failing ? 0 : 3);
            readAll(&model);
        }
        QCOMPARE(dialogs.texts(), QStringList(QStringLiteral("integer overflow.")));
        QCOMPARE(m_faults, QStringList());
    }

    void resultGrid()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = program.window();
        QAbstractItemModel *model = search()->DbAltGrid4->model();
        ResetOrder *order = watch(model, &m_faults);
        window->show();
        window->setActivePage(search());
        QVERIFY(QTest::qWaitForWindowExposed(window));

        const struct {
            QRadioButton *scope;
            bool exact;
            QString typed;
        } searches[] = {
            {search()->s4, false, QStringLiteral("ابراهیم")},
            {search()->s4, true, QStringLiteral("الله")},
            {search()->s4, false, QStringLiteral("كككككك")},
            {search()->s1, false, QStringLiteral("علی")},
            {search()->s3, false, QStringLiteral("حکمت")},
        };
        for (const auto &s : searches) {
            s.scope->click();
            search()->b1->setChecked(s.exact);
            search()->Edit2->setText(s.typed);
            search()->BitBtn5->click();
            search()->DbAltGrid4->scrollToBottom();
            QTest::keyClick(search()->DbAltGrid4->viewport(), Qt::Key_Home, Qt::ControlModifier);
            readAll(model);
        }
        QVERIFY(order->resets() >= 5);
        QCOMPARE(m_faults, QStringList());
    }

    void nahjTree()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        NahjPage *page = program.window()->TabSheet2.get();
        QTreeWidget *tree = page->TreeView1;
        QAbstractItemModel *model = tree->model();
        // The tree's own model resets itself in its destructor, after its tree is gone: the
        // tester leaves before that.
        QObject tester;
        watch(model, &m_faults, &tester);
        program.window()->show();
        program.window()->setActivePage(page);
        QVERIFY(QTest::qWaitForWindowExposed(program.window()));
        const int sections = tree->topLevelItemCount();
        QVERIFY(sections > 1);

        // Built again from the start, as at start-up.
        page->prepareContentsTree();
        QCOMPARE(model->rowCount(), 0);
        page->buildContentsTree(kevran::DataModule2->ADOQuery1, kevran::DataModule2->ADOQuery2);
        QCOMPARE(tree->topLevelItemCount(), sections);

        // Items chosen, sections opened and closed, the tree scrolled through.
        QTreeWidgetItem *first = tree->topLevelItem(0);
        tree->expandItem(first);
        tree->setCurrentItem(first->child(0));
        page->itemLookup();
        tree->setCurrentItem(tree->topLevelItem(sections - 1));
        page->itemLookup();
        tree->collapseItem(first);
        tree->expandAll();
        tree->scrollToBottom();
        readAll(model);
        QCOMPARE(m_faults, QStringList());
    }

    // A set destroyed while a grid still shows it: the grid empties through an announced reset
    // and reads nothing of the set that is gone.
    void setDestroyedBehindALiveModel()
    {
        Connection connection;
        connection.setFileName(smallDatabase());
        DataSource source;
        auto *set = new DataSet(&connection);
        set->addSql(QStringLiteral("SELECT * FROM main"));
        DataGrid grid(&source, {QStringLiteral("Arabic"), QStringLiteral("English")},
                      {QStringLiteral("متن"), QStringLiteral("ترجمه")});
        QAbstractItemModel *model = grid.model();
        ResetOrder *order = watch(model, &m_faults);

        source.setDataSet(set);
        set->open();
        QCOMPARE(model->rowCount(), 3);
        set->next();
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        readAll(model);

        const int resetsBefore = order->resets();
        delete set;
        QCOMPARE(order->resets(), resetsBefore + 1);
        QCOMPARE(source.dataSet(), nullptr);
        QCOMPARE(model->rowCount(), 0);
        readAll(model);
        grid.grab();

        // A new set behind the same source fills the grid again.
        DataSet next(&connection);
        next.addSql(QStringLiteral("SELECT * FROM main WHERE id1 = 3"));
        source.setDataSet(&next);
        next.open();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("الم"));
        next.close();
        QCOMPARE(model->rowCount(), 0);
        source.setDataSet(nullptr);
        QCOMPARE(m_faults, QStringList());
    }
};

QTEST_MAIN(tst_Models)
#include "tst_models.moc"
