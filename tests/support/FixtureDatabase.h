#pragma once

#include <QString>
#include <QStringList>

// A small text database for tests: suras of a few verses each, in the tables and columns the
// program reads, written to a file of its own.
class FixtureDatabase {
public:
    struct Verse {
        int chapter;
        int vers;
        QString arabic;
        QString english;
        QString search1;
        QString sub;
    };

    // Suras 1..suras of versesEach verses, texts naming their place ("arabic 2:3", "english 2:3",
    // "search 2:3"); the last verse of each sura has no translation.
    static QList<Verse> numbered(int suras, int versesEach);

    // Writes the file; verses get ids from 1 in the order given.
    static void write(const QString &path, const QList<Verse> &verses,
                      const QStringList &extraSql = {});
    // Runs statements against an existing file (to damage it, say).
    static void exec(const QString &path, const QString &sql);
};
