// The import of the reader's data against any file content, into a store that holds a folder,
// a bookmark, a note and a place: a refused file leaves every entry as it was; an accepted one,
// imported again, adds nothing; and the store's export after it is accepted and adds nothing
// either.
//
// Input: the file.

#include "fuzz/ScratchFile.h"
#include "platform/Error.h"
#include "reader/ReaderExchange.h"
#include "reader/ReaderStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Every entry with its ids, in the store's order.
QStringList entries(ReaderStore &store)
{
    auto ref = [](const ReaderRef &r) {
        return QStringLiteral("%1:%2:%3").arg(r.kind).arg(r.number).arg(r.verse);
    };
    QStringList lines;
    for (const ReaderFolder &f : store.folders())
        lines << QStringLiteral("f %1 %2 %3 %4")
                     .arg(f.id)
                     .arg(f.parent)
                     .arg(f.name, ReaderStore::timeText(f.created));
    for (const ReaderBookmark &b : store.bookmarks())
        lines << QStringLiteral("b %1 %2 %3 %4 %5")
                     .arg(b.id)
                     .arg(b.folder)
                     .arg(ref(b.ref), b.title, ReaderStore::timeText(b.created));
    for (const ReaderNote &n : store.notes())
        lines << QStringLiteral("n %1 %2 %3 %4 %5")
                     .arg(n.id)
                     .arg(ref(n.ref), n.text, ReaderStore::timeText(n.modified))
                     .arg(n.origin);
    for (const auto slot : {ReaderStore::Slot::Quran, ReaderStore::Slot::Nahj}) {
        if (const auto place = store.place(slot))
            lines << QStringLiteral("p %1").arg(ref(*place));
    }
    return lines;
}

bool addsNothing(const ReaderExchange::Report &report)
{
    return report.folders + report.bookmarks + report.notes + report.places == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ScratchFile scratch(QStringLiteral("reader.db"));
    static ReaderStore store;
    if (!store.isOpen())
        store.open(scratch.path());
    store.connection().exec("DELETE FROM folder; DELETE FROM bookmark; DELETE FROM note; "
                            "DELETE FROM place; DELETE FROM sqlite_sequence;");
    const ReaderRef throne = ReaderRef::ofVerse(2, 255);
    store.addBookmark(throne, store.addFolder(QStringLiteral("روزانه"), 0));
    store.saveNote(throne, QStringLiteral("يادداشت"));
    store.setPlace(ReaderStore::Slot::Quran, ReaderRef::ofVerse(1, 1));
    const QStringList before = entries(store);

    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        ReaderExchange::importJson(store, file);
    } catch (const Error &) {
        if (entries(store) != before)
            std::abort();
        return 0;
    }
    const QStringList imported = entries(store);
    if (!addsNothing(ReaderExchange::importJson(store, file)) || entries(store) != imported)
        std::abort();
    if (!addsNothing(ReaderExchange::importJson(store, ReaderExchange::exportJson(store))) ||
        entries(store) != imported)
        std::abort();
    return 0;
}
