#include "ui/main/FieldBinding.h"

#include "data/DataSet.h"
#include "data/DataSource.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

FieldBinding::FieldBinding(QObject *display, DataSource *source, const QString &field, Show show)
    : QObject(display)
    , m_source(source)
    , m_field(field)
    , m_show(std::move(show))
{
    connect(m_source, &DataSource::currentChanged, this, &FieldBinding::refresh);
    refresh();
}

FieldBinding *FieldBinding::bind(QLabel *label, DataSource *source, const QString &field)
{
    return new FieldBinding(label, source, field, [label](const QString &t) {
        if (label->text() != t)
            label->setText(t);
    });
}

FieldBinding *FieldBinding::bind(QLineEdit *edit, DataSource *source, const QString &field)
{
    return new FieldBinding(edit, source, field, [edit](const QString &t) {
        if (edit->text() != t)
            edit->setText(t);
    });
}

FieldBinding *FieldBinding::bind(QPlainTextEdit *edit, DataSource *source, const QString &field)
{
    return new FieldBinding(edit, source, field, [edit](const QString &t) {
        if (edit->toPlainText() != t)
            edit->setPlainText(t);
    });
}

FieldBinding *FieldBinding::bind(QTextEdit *edit, DataSource *source, const QString &field)
{
    return new FieldBinding(edit, source, field,
                            [edit](const QString &t) { edit->setPlainText(t); });
}

void FieldBinding::setField(const QString &field)
{
    m_field = field;
    refresh();
}

QString FieldBinding::currentText() const
{
    const DataSet *set = m_source->dataSet();
    if (!set || m_field.isEmpty() || set->isEmpty())
        return QString();
    const int column = set->fieldIndex(m_field);
    return column < 0 ? QString() : set->text(set->currentRow(), column);
}

void FieldBinding::refresh()
{
    m_show(currentText());
}
