#pragma once

#include <QList>
#include <QString>

class Connection;
class DataSet;

// The Persian translations of the Quran a text database holds, and the one the verse rows'
// column `English` carries on a connection. The database's own `main.English` holds the first
// of them; choosing another puts a temporary view named `main` over `main.main` whose
// `English` comes from `TranslationText`. Unqualified names resolve to the temporary schema
// first, so every statement on the connection reads the chosen translation unchanged, and
// choosing the first again drops the view.
class Translations {
public:
    struct Translation {
        QString code;        // such as "fa.ansarian"
        QString translator;  // as the source file's header states it
        QString persianName; // as the source file's header states it
    };

    // The translations in their order, the one `main.English` holds first; empty for a
    // database without the table of translations.
    static QList<Translation> list(Connection *connection);

    // Makes `English` carry the translation `code` for every statement run on the open
    // connection from now on, and answers the code in use: the first translation's when the
    // database lacks `code` (or `code` is empty). Raises an Error when the view cannot be made,
    // and, changing nothing, while a statement on the connection is still giving rows (the
    // change would abort it): read such a set to its end first.
    static QString choose(Connection *connection, const QString &code);

    // The translation `English` carries on the connection now; empty code for a database
    // without the table of translations.
    static Translation current(Connection *connection);

    // Gives the open set's rows the `English` of the translation now chosen, keeping its rows
    // and its current row; a closed set, or one without `English` and `id1`, stays as it is.
    static void refresh(DataSet *verses);
};
