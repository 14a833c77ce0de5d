#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One Tanzil XML text (<quran><sura index=".."><aya index=".." text=".."/>...): the verses by
// sura and the notice from the file's leading comment.
struct TanzilText {
    QString fileName;
    QString notice;
    std::vector<QStringList> suras;            // suras[s][a]: sura s + 1, verse a + 1
    std::vector<std::vector<qint64>> ayaLines; // the line each verse stands on, for messages

    int verseCount() const;
};

class TanzilReader {
public:
    // Reads the file; raises an Error naming the file and line on any defect: a missing file,
    // malformed XML, indices out of order, or a verse without text.
    static TanzilText read(const QString &path);
};
