#include "ui/quran/VerseGrid.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

VerseGrid::VerseGrid(DataSource *source, QWidget *parent)
    : DataGrid(source, {QStringLiteral("Arabic"), QStringLiteral("English")},
               {QStringLiteral("متن"), QStringLiteral("ترجمه")}, parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setWordWrap(true);

    QHeaderView *columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    // Once the reader drags or fits a column, the columns keep the widths given them.
    connect(columns, &QHeaderView::sectionResized, this, [this](int section) {
        if (!m_fitting && section == 0 && QApplication::mouseButtons() != Qt::NoButton)
            m_columnsDragged = true;
    });
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    updateRowHeight();
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
    return DataGrid::selectionCommand(index, event);
}

void VerseGrid::updateRowHeight()
{
    verticalHeader()->setDefaultSectionSize(4 * fontMetrics().lineSpacing());
}

void VerseGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
    DataGrid::changeEvent(event);
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
    DataGrid::resizeEvent(event);
    fillWidth();
}
