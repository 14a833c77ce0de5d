#include "ui/main/GridFindDialog.h"

#include "data/LikeMatcher.h"
#include "data/TextFolding.h"
#include "platform/Messages.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>

GridFindDialog::GridFindDialog(QAbstractItemView *grid)
    : QDialog(grid)
    , FindText(new QLineEdit(this))
    , FindNext(new QPushButton(QStringLiteral("جستجوي بعدي"), this))
    , m_grid(grid)
{
    setObjectName(QStringLiteral("GridFindDialog"));
    FindText->setObjectName(QStringLiteral("FindText"));
    FindNext->setObjectName(QStringLiteral("FindNext"));
    setWindowTitle(QStringLiteral("جستجو"));
    // A dialog is a window of its own: it takes neither the grid's direction nor its font.
    setLayoutDirection(Qt::RightToLeft);
    setAttribute(Qt::WA_WindowPropagation);
    FindNext->setDefault(true);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(FindText, 1);
    layout->addWidget(FindNext);
    connect(FindNext, &QPushButton::clicked, this, [this] {
        if (!FindText->text().isEmpty() && !findNext())
            Messages::showMessage(QStringLiteral("چيزي يافت نشد "), this);
    });
}

bool GridFindDialog::findNext()
{
    const QAbstractItemModel *model = m_grid->model();
    // A cell is found as a search's LIKE finds a row: the typed text anywhere in it.
    const LikeMatcher wanted(QLatin1Char('%') + FindText->text() + QLatin1Char('%'));
    if (!model || TextFolding::fold(FindText->text()).isEmpty())
        return false;
    const int rows = model->rowCount(), columns = model->columnCount();
    const int start = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
    // From the row after the current one, round to the current one.
    for (int step = 1; step <= rows; ++step) {
        const int row = (start + step) % rows;
        for (int column = 0; column < columns; ++column) {
            const QString cell = model->index(row, column).data().toString();
            if (wanted.matches(cell)) {
                const QModelIndex found = model->index(row, column);
                m_grid->selectionModel()->setCurrentIndex(
                    found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                m_grid->scrollTo(found);
                return true;
            }
        }
    }
    return false;
}
