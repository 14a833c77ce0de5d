#pragma once

#include "data/SqliteConnection.h"

#include <QObject>
#include <QString>

// A read-only connection to the text database. The file name resolves against the working
// directory; opening checks that the file is a text database.
class Connection : public QObject {
    Q_OBJECT
public:
    static inline const QString DefaultFileName = QStringLiteral("1.db");

    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    void setFileName(const QString &fileName) { m_fileName = fileName; }
    const QString &fileName() const { return m_fileName; }

    // Opens the file when not open yet; raises an Error naming the file when it cannot.
    void open();
    void close();
    bool isOpen() const { return m_db.isOpen(); }

    sqlite3 *handle() const { return m_db.handle(); }

    // The Persian translation the verse rows' `English` carries (see Translations); empty
    // while the database's own column is read, or until one was chosen.
    const QString &translation() const { return m_translation; }
    void setTranslation(const QString &code) { m_translation = code; }

private:
    void checkSchema(const QString &path);

    QString m_fileName = DefaultFileName;
    SqliteConnection m_db;
    QString m_translation;
};
