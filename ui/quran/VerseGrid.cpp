#include "ui/quran/VerseGrid.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "ui/main/GridFindDialog.h"
#include "ui/quran/VerseGridModel.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>
#include <algorithm>

VerseGrid::VerseGrid(DataSource *source, QWidget *parent)
    : QTableView(parent)
    , m_source(source)
    , m_model(new VerseGridModel(source, {QStringLiteral("Arabic"), QStringLiteral("English")},
                                 {QStringLiteral("متن"), QStringLiteral("ترجمه")}, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(true);
    setShowGrid(true);
    setCornerButtonEnabled(false);

    QHeaderView *columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    columns->setDefaultAlignment(Qt::AlignCenter);
    // Once the reader drags or fits a column, the columns keep the widths given them.
    connect(columns, &QHeaderView::sectionResized, this, [this](int section) {
        if (!m_fitting && section == 0 && QApplication::mouseButtons() != Qt::NoButton)
            m_columnsDragged = true;
    });
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Interactive);
    rows->setFixedWidth(14);
    updateRowHeight();

    connect(m_source, &DataSource::currentChanged, this, &VerseGrid::followSet);
    auto *find = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetShortcut);
    connect(find, &QShortcut::activated, this, [this] { findDialog()->show(); });
    followSet();
}

GridFindDialog *VerseGrid::findDialog()
{
    if (!m_find)
        m_find = new GridFindDialog(this);
    return m_find;
}

QList<int> VerseGrid::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QItemSelectionModel::SelectionFlags VerseGrid::selectionCommand(const QModelIndex &index,
                                                                const QEvent *event) const
{
    // Moving with the keyboard extends the selection with Shift and empties it otherwise.
    if (event && event->type() == QEvent::KeyPress &&
        !(static_cast<const QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier))
        return QItemSelectionModel::Clear;
    return QTableView::selectionCommand(index, event);
}

void VerseGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    DataSet *set = m_source->dataSet();
    if (!m_following && current.isValid() && set && set->isActive())
        set->gotoBookmark(current.row());
}

void VerseGrid::followSet()
{
    const DataSet *set = m_source->dataSet();
    const int row = set ? set->currentRow() : -1;
    if (row < 0 || currentIndex().row() == row)
        return;
    m_following = true;
    const QModelIndex index = m_model->index(row, std::max(currentIndex().column(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
    m_following = false;
}

void VerseGrid::updateRowHeight()
{
    verticalHeader()->setDefaultSectionSize(4 * fontMetrics().lineSpacing());
}

void VerseGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
    QTableView::changeEvent(event);
}

void VerseGrid::fillWidth()
{
    if (m_columnsDragged)
        return;
    m_fitting = true;
    horizontalHeader()->resizeSection(0, viewport()->width() / 2);
    m_fitting = false;
}

void VerseGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fillWidth();
}
