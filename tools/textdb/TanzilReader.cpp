#include "tools/textdb/TanzilReader.h"

#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

[[noreturn]] void fail(const QString &path, qint64 line, const QString &what)
{
    throw Error(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(what));
}

int indexAttribute(const QXmlStreamReader &xml, const QString &path)
{
    bool ok = false;
    const int index = xml.attributes().value(QLatin1String("index")).toInt(&ok);
    if (!ok)
        fail(path, xml.lineNumber(),
             QStringLiteral("<%1> without a numeric index").arg(xml.name().toString()));
    return index;
}

} // namespace

int TanzilText::verseCount() const
{
    int count = 0;
    for (const QStringList &sura : suras)
        count += int(sura.size());
    return count;
}

TanzilText TanzilReader::read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("%1: file not found").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(path, file.errorString()));

    TanzilText text;
    text.fileName = QFileInfo(path).fileName();
    QXmlStreamReader xml(&file);
    bool inQuran = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Comment && text.notice.isEmpty() && !inQuran) {
            text.notice = xml.text().toString().trimmed();
        } else if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == QLatin1String("quran")) {
                inQuran = true;
            } else if (name == QLatin1String("sura") && inQuran) {
                const int index = indexAttribute(xml, path);
                if (index != int(text.suras.size()) + 1)
                    fail(path, xml.lineNumber(),
                         QStringLiteral("sura %1 where sura %2 was expected")
                             .arg(index)
                             .arg(text.suras.size() + 1));
                text.suras.emplace_back();
                text.ayaLines.emplace_back();
            } else if (name == QLatin1String("aya") && !text.suras.empty()) {
                const int index = indexAttribute(xml, path);
                QStringList &sura = text.suras.back();
                if (index != int(sura.size()) + 1)
                    fail(path, xml.lineNumber(),
                         QStringLiteral("verse %1 of sura %2 where verse %3 was expected")
                             .arg(index)
                             .arg(text.suras.size())
                             .arg(sura.size() + 1));
                const QString verse = xml.attributes().value(QLatin1String("text")).toString();
                if (verse.trimmed().isEmpty())
                    fail(path, xml.lineNumber(),
                         QStringLiteral("verse %1 of sura %2 has no text")
                             .arg(index)
                             .arg(text.suras.size()));
                sura.append(verse);
                text.ayaLines.back().push_back(xml.lineNumber());
            } else {
                fail(path, xml.lineNumber(),
                     QStringLiteral("unexpected element <%1>").arg(name.toString()));
            }
        }
    }
    if (xml.hasError())
        fail(path, xml.lineNumber(), xml.errorString());
    if (text.suras.empty())
        fail(path, xml.lineNumber(), QStringLiteral("no suras found"));
    return text;
}
