#pragma once

#include "reader/ReaderRef.h"
#include "reader/ReaderStore.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The reader's whole data as one JSON file, and the merge of such a file back into a store.
// The file holds every folder, bookmark, note and place; README.md ("The export file")
// describes it. An import adds to what the store holds and never deletes or overwrites
// anything; a file it refuses changes nothing.
class ReaderExchange {
public:
    static constexpr int FormatVersion = 1;
    // The largest file an import reads; an export larger than that is refused, naming reader.db,
    // which an import reads whatever its size.
    static constexpr qint64 MaxFileSize = 256 * 1024 * 1024;
    // The "format" member of every export file.
    static const char *const FormatName;

    // Decides whether a reference names something that exists (the Nahj items come from the
    // text database); ReaderRef::isWellFormed is always checked first.
    using RefCheck = std::function<bool(const ReaderRef &)>;

    // Every folder, bookmark, note and place as JSON, read in one snapshot of the store.
    static QByteArray exportJson(ReaderStore &store);
    // exportJson written whole through FileReplacement; raises an Error naming the path and the
    // reason on failure, leaving any old file as it was.
    static void exportToFile(ReaderStore &store, const QString &path);

    // What an import added (ReaderStore::merge), and whether a database file read was
    // damaged, so that some of it could not be read.
    struct Report : ReaderStore::MergeReport {
        Report() = default;
        Report(const ReaderStore::MergeReport &merged)
            : ReaderStore::MergeReport(merged)
        {
        }
        bool damaged = false;
    };
    // Merges the file into the store in one transaction (ReaderStore::merge). A file that is
    // damaged, of a newer format version, larger than MaxFileSize, holds a value of the wrong
    // type or names a reference that does not exist raises an Error in Persian that names the
    // problem (the byte offset, the version, the field, the references), and the store is left
    // unchanged. Folders and bookmarks whose folder the file does not hold go to the top.
    static Report importJson(ReaderStore &store, const QByteArray &json,
                             const RefCheck &check = {});
    // Merges a reader.db (a copy, one moved aside, one a newer program wrote) through
    // ReaderStore::readFile; any other file is read as JSON, at most MaxFileSize + 1 bytes
    // (none of a regular file larger than that), then importJson. Raises an Error naming the
    // path and the reason when it cannot be read.
    static Report importFile(ReaderStore &store, const QString &path, const RefCheck &check = {});
};
