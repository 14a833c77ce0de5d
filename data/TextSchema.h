#pragma once

#include <QByteArray>
#include <initializer_list>
#include <vector>

// The tables, columns and indexes of the text database, written down once: the builder
// creates them, the connection checks the ones the program reads when it opens a file, and the
// tests' small databases are made of them.
class TextSchema {
public:
    struct Column {
        const char *name;
        const char *type; // the declared type and column constraints
    };
    struct Table {
        const char *name;
        // The columns in their order, as the statement writes them a line at a time.
        std::initializer_list<std::initializer_list<Column>> lines;
        const char *constraint; // a table constraint after the columns, or nullptr
        const char *options;    // what follows the closing parenthesis
        // The program's statements read the table: a file without it is no text database.
        bool read;
    };
    struct Index {
        const char *name;
        const char *table;
        const char *columns;
    };
    enum Which { AllTables, ReadTables };

    static const std::vector<const Table *> &tables();
    static const std::vector<const Index *> &indexes();

    // The CREATE TABLE statements, and the CREATE INDEX statements of those tables' indexes.
    static QByteArray createTables(Which which = AllTables);
    static QByteArray createIndexes(Which which = AllTables);
};
