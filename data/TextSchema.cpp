#include "data/TextSchema.h"

#include <cstring>

namespace {

const TextSchema::Table kTables[] = {
    {"num",
     {{{"id", "INTEGER PRIMARY KEY"}},
      {{"chapter", "INTEGER NOT NULL"}},
      {{"vers", "INTEGER NOT NULL"}},
      {{"name", "TEXT NOT NULL"}}},
     nullptr,
     "",
     true},
    // One row per verse, joined to num by id1, and one per Nahj al-Balagha item.
    {"main",
     {{{"id1", "INTEGER REFERENCES num(id)"}},
      {{"Arabic", "TEXT"}, {"English", "TEXT"}, {"search1", "TEXT"}, {"sub", "TEXT"}},
      {{"Code", "INTEGER"},
       {"ID", "INTEGER"},
       {"Name2", "TEXT"},
       {"Top", "TEXT"},
       {"arabic2", "TEXT"},
       {"Farsi", "TEXT"},
       {"search", "TEXT"}}},
     nullptr,
     "",
     true},
    {"Type", {{{"Type", "INTEGER PRIMARY KEY"}}, {{"Name", "TEXT NOT NULL"}}}, nullptr, "", true},
    {"Notices", {{{"Source", "TEXT NOT NULL"}}, {{"Notice", "TEXT NOT NULL"}}}, nullptr, "", false},
    {"Translations",
     {{{"Code", "TEXT PRIMARY KEY"}},
      {{"Ord", "INTEGER NOT NULL"}},
      {{"Translator", "TEXT NOT NULL"}},
      {{"PersianName", "TEXT NOT NULL"}},
      {{"Notice", "TEXT NOT NULL"}}},
     nullptr,
     "",
     false},
    {"TranslationText",
     {{{"Code", "TEXT NOT NULL"}}, {{"id1", "INTEGER NOT NULL"}}, {{"Text", "TEXT NOT NULL"}}},
     "PRIMARY KEY (Code, id1)",
     " WITHOUT ROWID",
     false},
};

const TextSchema::Index kIndexes[] = {
    {"num_chapter_vers", "num", "chapter, vers"},
    {"main_id1", "main", "id1"},
    {"main_code_id", "main", "Code, ID"},
};

template <typename T, size_t N> std::vector<const T *> pointersTo(const T (&items)[N])
{
    std::vector<const T *> out;
    for (const T &item : items)
        out.push_back(&item);
    return out;
}

bool wanted(const TextSchema::Table &table, TextSchema::Which which)
{
    return which == TextSchema::AllTables || table.read;
}

} // namespace

const std::vector<const TextSchema::Table *> &TextSchema::tables()
{
    static const std::vector<const Table *> all = pointersTo(kTables);
    return all;
}

const std::vector<const TextSchema::Index *> &TextSchema::indexes()
{
    static const std::vector<const Index *> all = pointersTo(kIndexes);
    return all;
}

QByteArray TextSchema::createTables(Which which)
{
    QByteArray sql;
    for (const Table *table : tables()) {
        if (!wanted(*table, which))
            continue;
        sql += QByteArray("CREATE TABLE ") + table->name + " (\n";
        bool firstLine = true;
        for (const std::initializer_list<Column> &line : table->lines) {
            sql += firstLine ? "    " : ",\n    ";
            firstLine = false;
            bool firstColumn = true;
            for (const Column &column : line) {
                if (!firstColumn)
                    sql += ", ";
                firstColumn = false;
                sql += QByteArray(column.name) + ' ' + column.type;
            }
        }
        if (table->constraint)
            sql += QByteArray(",\n    ") + table->constraint;
        sql += QByteArray("\n)") + table->options + ";\n";
    }
    return sql;
}

QByteArray TextSchema::createIndexes(Which which)
{
    QByteArray sql;
    for (const Index *index : indexes()) {
        for (const Table *table : tables()) {
            if (std::strcmp(table->name, index->table) == 0 && wanted(*table, which))
                sql += QByteArray("CREATE INDEX ") + index->name + " ON " + index->table + '(' +
                       index->columns + ");\n";
        }
    }
    return sql;
}
