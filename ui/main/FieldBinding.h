#pragma once

#include <QObject>
#include <QString>
#include <functional>

class DataSource;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

// Shows one column of a data source's current row in a display and follows every move. The
// display shows nothing while the set is closed or empty, the column is missing, or no column
// is bound. The binding lives as long as the display.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    using Show = std::function<void(const QString &)>;

    FieldBinding(QObject *display, DataSource *source, const QString &field, Show show);

    static FieldBinding *bind(QLabel *label, DataSource *source, const QString &field = {});
    static FieldBinding *bind(QLineEdit *edit, DataSource *source, const QString &field = {});
    static FieldBinding *bind(QPlainTextEdit *edit, DataSource *source, const QString &field = {});
    static FieldBinding *bind(QTextEdit *edit, DataSource *source, const QString &field = {});

    const QString &field() const { return m_field; }
    // An empty name unbinds the display.
    void setField(const QString &field);
    // The text the display shows now.
    QString currentText() const;

private:
    void refresh();

    DataSource *m_source;
    QString m_field;
    Show m_show;
};
