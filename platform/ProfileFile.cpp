#include "platform/ProfileFile.h"

#include "platform/Error.h"
#include "platform/IniDocument.h"
#include "platform/SystemProfileFile.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

ProfileFile::~ProfileFile() = default;

template <> ProfileFile &Service<ProfileFile>::systemDefault()
{
    static SystemProfileFile system;
    return system;
}

QString ProfileFile::readBack(const QString &stored)
{
    qsizetype start = 0;
    qsizetype end = stored.size();
    while (start < end && isBlank(stored[start]))
        ++start;
    while (end > start && isBlank(stored[end - 1]))
        --end;
    if (end - start >= 2) {
        const QChar first = stored[start];
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && stored[end - 1] == first) {
            ++start;
            --end;
        }
    }
    QString value = stored.mid(start, end - start);

    // Characters, not UTF-16 units: a cut never splits a surrogate pair.
    qsizetype cut = 0;
    for (int count = 0; cut < value.size() && count < MaxValueLength; ++count)
        cut += value[cut].isHighSurrogate() && cut + 1 < value.size() ? 2 : 1;
    value.truncate(cut);
    return value;
}

QString ProfileFile::readString(const QString &path, const QString &section, const QString &key,
                                const QString &defaultValue)
{
    QByteArray bytes;
    if (!load(path, bytes))
        return defaultValue;
    const auto stored = IniDocument::parse(bytes).value(section, key);
    return stored ? readBack(*stored) : defaultValue;
}

void ProfileFile::writeString(const QString &path, const QString &section, const QString &key,
                              const QString &value)
{
    writeStrings(path, {Entry{section, key, value}});
}

void ProfileFile::writeStrings(const QString &path, const QList<Entry> &entries)
{
    exclusive(path, [&] {
        QByteArray bytes;
        // A file that cannot be read is not overwritten: what else it holds would be lost.
        if (!load(path, bytes))
            throw Error(QStringLiteral("Unable to write to %1").arg(path));
        IniDocument doc = IniDocument::parse(bytes);
        for (const Entry &entry : entries) {
            if (!entry.keepStored || !doc.value(entry.section, entry.key))
                doc.setValue(entry.section, entry.key, entry.value);
        }
        const QByteArray updated = doc.toBytes();
        if (updated == bytes)
            return;
        QString reason;
        if (!store(path, updated, reason))
            throw Error(reason.isEmpty()
                            ? QStringLiteral("Unable to write to %1").arg(path)
                            : QStringLiteral("Unable to write to %1. %2").arg(path, reason));
    });
}

void ProfileFile::exclusive(const QString &, const std::function<void()> &update)
{
    update();
}
