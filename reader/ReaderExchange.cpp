#include "reader/ReaderExchange.h"

#include "data/PersianDigits.h"
#include "platform/Error.h"
#include "platform/FileReplacement.h"
#include "reader/ReaderStore.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <vector>

const char *const ReaderExchange::FormatName = "kevran-reader";

namespace {

const char *const kOriginNames[] = {"own", "imported", "other-window"};
constexpr int kOriginCount = 3;
// Larger integers than this are not exact in a JSON number.
constexpr qint64 kMaxId = qint64(1) << 53;
// How many unknown references a refusal names.
constexpr int kNamedRefs = 10;

// Every refusal ends by saying that nothing changed.
[[noreturn]] void refuse(const QString &problem)
{
    throw Error(problem + QStringLiteral(" هيچ چيز وارد نشد."));
}

// The field's place in the file, as "notes[3].ref.sura".
QString fieldAt(const QString &path, const char *key)
{
    return path.isEmpty() ? QString::fromLatin1(key) : path + QLatin1Char('.') + key;
}

QString fieldAt(const QString &path, qsizetype index)
{
    return path + QStringLiteral("[%1]").arg(index);
}

[[noreturn]] void wrongType(const QString &field, const QString &what)
{
    refuse(QStringLiteral("مقدار «%1» در پرونده نادرست است: بايد %2 باشد.").arg(field, what));
}

// A member that must be there; null counts as a value, of the wrong type everywhere.
QJsonValue required(const QJsonObject &object, const QString &path, const char *key)
{
    const auto it = object.constFind(QLatin1String(key));
    if (it == object.constEnd())
        refuse(QStringLiteral("«%1» در پرونده نيست.").arg(fieldAt(path, key)));
    return it.value();
}

// A member that may be left out or null; answers Undefined then.
QJsonValue given(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isNull() ? QJsonValue(QJsonValue::Undefined) : value;
}

QJsonObject objectOf(const QJsonValue &value, const QString &field)
{
    if (!value.isObject())
        wrongType(field, QStringLiteral("شيء JSON"));
    return value.toObject();
}

QJsonArray arrayOf(const QJsonValue &value, const QString &field)
{
    if (!value.isArray())
        wrongType(field, QStringLiteral("فهرست JSON"));
    return value.toArray();
}

qint64 integerOf(const QJsonValue &value, const QString &field, qint64 min, qint64 max)
{
    const double number = value.isDouble() ? value.toDouble() : std::nan("");
    if (!std::isfinite(number) || number != std::floor(number) || number < double(min) ||
        number > double(max))
        wrongType(field, QStringLiteral("عدد صحيح از %1 تا %2").arg(min).arg(max));
    return qint64(number);
}

// Text as the store keeps it: through UTF-8, so that a lone surrogate compares as it reads back.
QString textOf(const QJsonValue &value, const QString &field)
{
    if (!value.isString())
        wrongType(field, QStringLiteral("متن"));
    return QString::fromUtf8(value.toString().toUtf8());
}

// A time as the store keeps it; one that its text form cannot hold (a year past 9999 in UTC)
// is refused.
QDateTime timeOf(const QJsonValue &value, const QString &field)
{
    if (value.isUndefined())
        return QDateTime::currentDateTimeUtc();
    const QDateTime time = ReaderStore::timeOf(value.toString());
    if (!value.isString() || !time.isValid() ||
        ReaderStore::timeOf(ReaderStore::timeText(time)) != time)
        wrongType(field, QStringLiteral("زماني به شکل ISO 8601 مانند 2024-03-01T08:30:00Z"));
    return time;
}

ReaderRef refOf(const QJsonValue &value, const QString &field)
{
    const QJsonObject object = objectOf(value, field);
    const QString kindField = fieldAt(field, "kind");
    const QString name = textOf(required(object, field, "kind"), kindField);
    const int kind = ReaderRef::kindOf(name);
    if (kind < 0)
        refuse(QStringLiteral("نوع «%1» در «%2» شناخته نيست.").arg(name, kindField));
    constexpr qint64 low = std::numeric_limits<int>::min();
    constexpr qint64 high = std::numeric_limits<int>::max();
    auto number = [&](const char *key) {
        return int(integerOf(required(object, field, key), fieldAt(field, key), low, high));
    };
    if (kind == ReaderRef::Verse)
        return ReaderRef::ofVerse(number("sura"), number("verse"));
    return {kind, number("number"), 0};
}

QJsonObject refJson(const ReaderRef &ref)
{
    QJsonObject object{{QStringLiteral("kind"), ref.kindName()}};
    if (ref.isVerse()) {
        object.insert(QStringLiteral("sura"), ref.number);
        object.insert(QStringLiteral("verse"), ref.verse);
    } else {
        object.insert(QStringLiteral("number"), ref.number);
    }
    return object;
}

// A reference as a refusal names it: 2:287 for a verse, «خطبه ۹۹۹» for a Nahj item.
QString refText(const ReaderRef &ref)
{
    if (ref.isVerse())
        return QStringLiteral("%1:%2").arg(ref.number).arg(ref.verse);
    return ref.label();
}

// What a file holds, checked; folder ids and the bookmarks' folders are the file's own ids.
using Contents = ReaderContents;

QJsonArray listOf(const QJsonObject &root, const char *key)
{
    const QJsonValue value = given(root, key);
    return value.isUndefined() ? QJsonArray() : arrayOf(value, QString::fromLatin1(key));
}

void readFolders(const QJsonObject &root, Contents &contents)
{
    const QJsonArray list = listOf(root, "folders");
    QHash<qint64, size_t> index;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = fieldAt(QStringLiteral("folders"), i);
        const QJsonObject object = objectOf(list.at(i), path);
        ReaderFolder folder;
        folder.id = integerOf(required(object, path, "id"), fieldAt(path, "id"), 1, kMaxId);
        const QJsonValue parent = given(object, "parent");
        if (!parent.isUndefined())
            folder.parent = integerOf(parent, fieldAt(path, "parent"), 0, kMaxId);
        folder.name = textOf(required(object, path, "name"), fieldAt(path, "name"));
        folder.created = timeOf(given(object, "created"), fieldAt(path, "created"));
        if (index.contains(folder.id))
            refuse(QStringLiteral("شماره پوشه «%1» در پرونده دو بار آمده است.")
                       .arg(fieldAt(path, "id")));
        index.insert(folder.id, size_t(i));
        contents.folders.push_back(folder);
    }
}

void readBookmarks(const QJsonObject &root, Contents &contents)
{
    const QJsonArray list = listOf(root, "bookmarks");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = fieldAt(QStringLiteral("bookmarks"), i);
        const QJsonObject object = objectOf(list.at(i), path);
        ReaderBookmark mark;
        mark.ref = refOf(required(object, path, "ref"), fieldAt(path, "ref"));
        const QJsonValue folder = given(object, "folder");
        if (!folder.isUndefined())
            mark.folder = integerOf(folder, fieldAt(path, "folder"), 0, kMaxId);
        const QJsonValue title = given(object, "title");
        if (!title.isUndefined())
            mark.title = textOf(title, fieldAt(path, "title"));
        mark.created = timeOf(given(object, "created"), fieldAt(path, "created"));
        contents.bookmarks.push_back(mark);
    }
}

void readNotes(const QJsonObject &root, Contents &contents)
{
    const QJsonArray list = listOf(root, "notes");
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = fieldAt(QStringLiteral("notes"), i);
        const QJsonObject object = objectOf(list.at(i), path);
        ReaderNote note;
        note.ref = refOf(required(object, path, "ref"), fieldAt(path, "ref"));
        note.text = textOf(required(object, path, "text"), fieldAt(path, "text"));
        note.created = timeOf(given(object, "created"), fieldAt(path, "created"));
        const QJsonValue modified = given(object, "modified");
        note.modified =
            modified.isUndefined() ? note.created : timeOf(modified, fieldAt(path, "modified"));
        const QJsonValue origin = given(object, "origin");
        if (!origin.isUndefined()) {
            const QString name = textOf(origin, fieldAt(path, "origin"));
            note.origin = -1;
            for (int o = 0; o < kOriginCount; ++o) {
                if (name == QLatin1String(kOriginNames[o]))
                    note.origin = o;
            }
            if (note.origin < 0)
                refuse(QStringLiteral("نوع «%1» در «%2» شناخته نيست.")
                           .arg(name, fieldAt(path, "origin")));
        }
        contents.notes.push_back(note);
    }
}

void readPlaces(const QJsonObject &root, Contents &contents)
{
    const QJsonValue value = given(root, "places");
    if (value.isUndefined())
        return;
    const QJsonObject places = objectOf(value, QStringLiteral("places"));
    auto place = [&](const char *key, bool verse) -> std::optional<ReaderRef> {
        const QJsonValue ref = given(places, key);
        if (ref.isUndefined())
            return std::nullopt;
        const QString field = fieldAt(QStringLiteral("places"), key);
        const ReaderRef read = refOf(ref, field);
        if (read.isVerse() != verse)
            wrongType(field, verse ? QStringLiteral("آيه") : QStringLiteral("بخشي از نهج البلاغه"));
        return read;
    };
    contents.quran = place("quran", true);
    contents.nahj = place("nahj", false);
}

// Refuses a file that names references which do not exist, naming them.
void checkRefs(const Contents &contents, const ReaderExchange::RefCheck &check)
{
    std::set<ReaderRef> refs;
    for (const ReaderBookmark &mark : contents.bookmarks)
        refs.insert(mark.ref);
    for (const ReaderNote &note : contents.notes)
        refs.insert(note.ref);
    for (const auto &place : {contents.quran, contents.nahj}) {
        if (place)
            refs.insert(*place);
    }
    QStringList unknown;
    int more = 0;
    for (const ReaderRef &ref : refs) {
        if (ref.isWellFormed() && (!check || check(ref)))
            continue;
        if (unknown.size() < kNamedRefs)
            unknown << refText(ref);
        else
            ++more;
    }
    if (unknown.isEmpty())
        return;
    QString list = unknown.join(QStringLiteral("، "));
    if (more > 0)
        list += QStringLiteral(" و %1 مورد ديگر").arg(more);
    refuse(QStringLiteral("پرونده از آيه ها يا بخش هايي نام مي برد که وجود ندارند: %1.").arg(list));
}

QString sizeText()
{
    return QStringLiteral("%1 مگابايت")
        .arg(PersianDigits::number(ReaderExchange::MaxFileSize >> 20));
}

QString tooLarge()
{
    return QStringLiteral("پرونده بزرگ تر از %1 است.").arg(sizeText());
}

Contents parse(const QByteArray &json, const ReaderExchange::RefCheck &check)
{
    if (json.size() > ReaderExchange::MaxFileSize)
        refuse(tooLarge());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        refuse(QStringLiteral("پرونده خراب است: JSON نادرست در بايت %1 (%2).")
                   .arg(error.offset)
                   .arg(error.errorString()));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")) !=
                                    QJsonValue(QString::fromLatin1(ReaderExchange::FormatName)))
        refuse(QStringLiteral("اين پرونده، پرونده نشانه ها و يادداشت هاي ورتانس نيست."));
    const qint64 version =
        integerOf(required(root, QString(), "version"), QStringLiteral("version"), 1, kMaxId);
    if (version > ReaderExchange::FormatVersion)
        refuse(QStringLiteral("اين پرونده را نسخه اي تازه تر از برنامه ساخته است (قالب %1؛ اين "
                              "برنامه تا قالب %2 را مي خواند).")
                   .arg(version)
                   .arg(ReaderExchange::FormatVersion));
    Contents contents;
    readFolders(root, contents);
    readBookmarks(root, contents);
    readNotes(root, contents);
    readPlaces(root, contents);
    checkRefs(contents, check);
    return contents;
}

QByteArray line(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A member holding a list, one entry to a line.
void appendList(QByteArray &out, const char *key, const std::vector<QJsonObject> &entries)
{
    out += QByteArray(",\n    \"") + key + "\": [";
    for (size_t i = 0; i < entries.size(); ++i)
        out += (i == 0 ? "\n        " : ",\n        ") + line(entries[i]);
    out += entries.empty() ? "]" : "\n    ]";
}

} // namespace

QByteArray ReaderExchange::exportJson(ReaderStore &store)
{
    const ReaderContents all = store.contents();
    const auto &[folders, bookmarks, notes, quran, nahj] = all;
    // Written by hand around its entries so that the format and the version come first and
    // each entry stands on a line of its own.
    QByteArray out = QByteArray("{\n    \"format\": \"") + FormatName +
                     "\",\n    \"version\": " + QByteArray::number(FormatVersion) +
                     ",\n    \"exported\": \"" +
                     ReaderStore::timeText(QDateTime::currentDateTimeUtc()).toLatin1() + '"';
    std::vector<QJsonObject> entries;
    for (const ReaderFolder &folder : folders)
        entries.push_back({{QStringLiteral("id"), folder.id},
                           {QStringLiteral("parent"), folder.parent},
                           {QStringLiteral("name"), folder.name},
                           {QStringLiteral("created"), ReaderStore::timeText(folder.created)}});
    appendList(out, "folders", entries);
    entries.clear();
    for (const ReaderBookmark &mark : bookmarks)
        entries.push_back({{QStringLiteral("ref"), refJson(mark.ref)},
                           {QStringLiteral("folder"), mark.folder},
                           {QStringLiteral("title"), mark.title},
                           {QStringLiteral("created"), ReaderStore::timeText(mark.created)}});
    appendList(out, "bookmarks", entries);
    entries.clear();
    for (const ReaderNote &note : notes) {
        const int origin =
            note.origin >= 0 && note.origin < kOriginCount ? note.origin : ReaderNote::Imported;
        entries.push_back({{QStringLiteral("ref"), refJson(note.ref)},
                           {QStringLiteral("text"), note.text},
                           {QStringLiteral("created"), ReaderStore::timeText(note.created)},
                           {QStringLiteral("modified"), ReaderStore::timeText(note.modified)},
                           {QStringLiteral("origin"), QString::fromLatin1(kOriginNames[origin])}});
    }
    appendList(out, "notes", entries);
    QJsonObject places;
    if (quran)
        places.insert(QStringLiteral("quran"), refJson(*quran));
    if (nahj)
        places.insert(QStringLiteral("nahj"), refJson(*nahj));
    out += ",\n    \"places\": " + line(places) + "\n}\n";
    return out;
}

void ReaderExchange::exportToFile(ReaderStore &store, const QString &path)
{
    const QByteArray json = exportJson(store);
    // What import would refuse is not written as though it were a backup.
    if (json.size() > MaxFileSize)
        throw Error(QStringLiteral("همه داده ها با هم بزرگ تر از %1 است و «ورود...» چنين پرونده "
                                   "اي را نمي پذيرد. به جاي آن از خود پرونده «%2» رونوشت "
                                   "برداريد: «ورود...» آن را هم مي پذيرد.")
                        .arg(sizeText(), QDir::toNativeSeparators(store.path())));
    const QString reason = FileReplacement::write(path, json);
    if (!reason.isEmpty())
        throw Error(QStringLiteral("پرونده «%1» نوشته نشد: %2")
                        .arg(QDir::toNativeSeparators(path), reason));
}

ReaderExchange::Report ReaderExchange::importJson(ReaderStore &store, const QByteArray &json,
                                                  const RefCheck &check)
{
    return store.merge(parse(json, check));
}

ReaderExchange::Report ReaderExchange::importFile(ReaderStore &store, const QString &path,
                                                  const RefCheck &check)
{
    QFile file(path);
    auto fail = [&] {
        throw Error(QStringLiteral("پرونده «%1» خوانده نشد: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        fail();
    // Another reader.db (a copy, or one moved aside) is read as a database, of any size.
    if (file.peek(16) == QByteArray("SQLite format 3", 16)) {
        file.close();
        bool damaged = false;
        ReaderContents contents = ReaderStore::readFile(path, &damaged);
        checkRefs(contents, check);
        Report report = store.merge(contents);
        report.damaged = damaged;
        return report;
    }
    // A regular file's size is known: a larger one is refused without reading it. A device
    // has none; one byte past the limit tells it.
    if (!file.isSequential() && file.size() > MaxFileSize)
        refuse(tooLarge());
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        fail();
    return importJson(store, bytes, check);
}
