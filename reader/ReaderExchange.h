#pragma once

#include "reader/ReaderRef.h"

#include <QByteArray>
#include <QString>
#include <functional>

class ReaderStore;

// The reader's whole data as one JSON file, and the merge of such a file back into a store.
// The file holds every folder, bookmark, note and place; README.md ("The export file")
// describes it. An import adds to what the store holds and never deletes or overwrites
// anything; a file it refuses changes nothing.
class ReaderExchange {
public:
    static constexpr int FormatVersion = 1;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // The "format" member of every export file.
    static const char *const FormatName;

    // Decides whether a reference names something that exists (the Nahj items come from the
    // text database); ReaderRef::isWellFormed is always checked first.
    using RefCheck = std::function<bool(const ReaderRef &)>;

    // Every folder, bookmark, note and place as JSON, read in one snapshot of the store.
    static QByteArray exportJson(ReaderStore &store);
    // exportJson written whole through FileReplacement; raises
    // "Cannot create file "<path>". <reason>" on failure, leaving any old file as it was.
    static void exportToFile(ReaderStore &store, const QString &path);

    // What an import added. notes counts every note added; keptBeside those of them that
    // stand beside a note the store held already (their text differed from it). skipped counts
    // the bookmarks and notes the store held already (and repeats within the file). A place is
    // set only where the store had none.
    struct Report {
        int folders = 0;
        int bookmarks = 0;
        int notes = 0;
        int places = 0;
        int skipped = 0;
        int keptBeside = 0;
    };
    // Merges the file into the store in one transaction:
    // - a folder is the store's one of its name under the same parent, or is made (several of
    //   one name under one parent match one to one, in the order of their ids, so a file
    //   imported twice adds nothing);
    // - a bookmark its folder holds already is skipped;
    // - a note whose text some note on the same reference has already, or an empty one, is
    //   skipped; a note of the reader's own goes in as the reference's own note when it has
    //   none, and else beside it, marked Imported; other notes keep their origin;
    // - a place is set only where the store has none.
    // A file that is damaged, of a newer format version, larger than MaxFileSize, holds a value
    // of the wrong type or names a reference that does not exist raises an Error in Persian that
    // names the problem (the byte offset, the version, the field, the references), and the
    // store is left unchanged.
    static Report importJson(ReaderStore &store, const QByteArray &json,
                             const RefCheck &check = {});
    // Reads at most MaxFileSize + 1 bytes (none of a regular file larger than that), then
    // importJson. Raises "Cannot open file "<path>". <reason>" when it cannot be read.
    static Report importFile(ReaderStore &store, const QString &path, const RefCheck &check = {});
};
