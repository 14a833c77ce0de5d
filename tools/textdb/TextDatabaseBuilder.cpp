#include "tools/textdb/TextDatabaseBuilder.h"

#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "data/SuraNames.h"
#include "data/TextSchema.h"
#include "platform/Error.h"
#include "platform/FileReplacement.h"
#include "tools/textdb/NahjReader.h"
#include "tools/textdb/TanzilReader.h"
#include "tools/textdb/TopicIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// A write connection to the file under construction; an Error names what failed.
class Writer {
public:
    explicit Writer(const QString &path)
    {
        try {
            m_db.open(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1: %2").arg(path, e.message()));
        }
    }

    void exec(const char *sql)
    {
        try {
            m_db.exec(sql);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1: %2").arg(QString::fromUtf8(sql).left(40), e.message()));
        }
    }

    std::unique_ptr<SqliteStatement> prepare(const char *sql)
    {
        try {
            return std::make_unique<SqliteStatement>(m_db.handle(), sql);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1: %2").arg(QString::fromUtf8(sql), e.message()));
        }
    }

    // Binds text, int (an invalid value as NULL), and steps the statement.
    static void insert(SqliteStatement &stmt, std::initializer_list<QVariant> values)
    {
        try {
            stmt.reset();
            int i = 1;
            for (const QVariant &v : values) {
                if (!v.isValid())
                    stmt.bindNull(i);
                else if (v.typeId() == QMetaType::Int)
                    stmt.bind(i, qint64(v.toInt()));
                else
                    stmt.bind(i, v.toString());
                ++i;
            }
            stmt.step();
        } catch (const Error &e) {
            throw Error(QStringLiteral("insert: %1").arg(e.message()));
        }
    }

private:
    SqliteConnection m_db;
};

// Every text must hold as many suras and verses per sura as the reference text.
void checkAlignment(const TanzilText &reference, const TanzilText &other, const QString &path)
{
    if (other.suras.size() != reference.suras.size())
        throw Error(QStringLiteral("%1: %2 suras, but %3 has %4")
                        .arg(path)
                        .arg(other.suras.size())
                        .arg(reference.fileName)
                        .arg(reference.suras.size()));
    for (size_t s = 0; s < reference.suras.size(); ++s) {
        const qsizetype mine = other.suras[s].size(), theirs = reference.suras[s].size();
        if (mine != theirs) {
            const qint64 line = other.ayaLines[s].empty() ? 0 : other.ayaLines[s].back();
            throw Error(QStringLiteral("%1:%2: sura %3 has %4 verses, but %5 has %6")
                            .arg(path)
                            .arg(line)
                            .arg(s + 1)
                            .arg(mine)
                            .arg(reference.fileName)
                            .arg(theirs));
        }
    }
}

// A Persian translation of the Quran as the sources hold it.
struct Translation {
    QString code; // the file's id, such as "fa.ansarian"
    QString translator;
    QString persianName;
    TanzilText text;
};

// The translations of the sources: the one chosen for main.English first, then the others in
// the order the program lists them (the well-known ones first, any other by its id).
QStringList translationCodes(const QDir &source, const QString &chosen)
{
    static const char *const kKnown[] = {"fa.makarem",     "fa.ansarian",   "fa.ayati",
                                         "fa.bahrampour",  "fa.fooladvand", "fa.ghomshei",
                                         "fa.khorramshahi"};
    QStringList present;
    const QDir folder(source.filePath(QStringLiteral("quran/persian")));
    for (const QString &file :
         folder.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name))
        present.append(file.chopped(4));
    QStringList codes{chosen};
    for (const char *code : kKnown) {
        if (present.contains(QLatin1String(code)) && !codes.contains(QLatin1String(code)))
            codes.append(QLatin1String(code));
    }
    for (const QString &code : present) {
        if (!codes.contains(code))
            codes.append(code);
    }
    return codes;
}

// A field of a translation's header comment, such as "#  Translator: Hussain Ansarian".
QString headerField(const TanzilText &text, const QString &path, const QString &field)
{
    const QRegularExpression line(QStringLiteral("^#\\s*%1:\\s*(\\S.*?)\\s*$").arg(field),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text.notice);
    if (!match.hasMatch())
        throw Error(QStringLiteral("%1: the header comment names no %2").arg(path, field));
    return match.captured(1);
}

// A text file read byte for byte, for notices that must travel verbatim.
QString verbatim(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("%1: file not found; the text it covers may not be shipped "
                                   "without it")
                        .arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

} // namespace

TextDatabaseBuilder::TextDatabaseBuilder(Options options, Progress progress)
    : m_options(std::move(options))
    , m_progress(std::move(progress))
{
}

void TextDatabaseBuilder::say(const QString &line) const
{
    if (m_progress)
        m_progress(line);
}

QString TextDatabaseBuilder::searchForm(const QString &cleanVerse)
{
    QString out;
    out.reserve(cleanVerse.size());
    bool blank = false;
    for (const QChar c : cleanVerse) {
        if (c.unicode() >= 0x06D6 && c.unicode() <= 0x06ED)
            continue;
        if (c.isSpace()) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out.append(QLatin1Char(' '));
        blank = false;
        out.append(c);
    }
    return out;
}

int TextDatabaseBuilder::cutVerses(const std::vector<QStringList> &suras)
{
    qsizetype longest = 0;
    for (const QStringList &sura : suras)
        for (const QString &verse : sura)
            longest = std::max(longest, verse.size());
    // A whole translation has one longest verse, or a few; a cut one has hundreds within a few
    // characters of the length it was cut at.
    int piled = 0, insideWord = 0;
    for (const QStringList &sura : suras) {
        for (const QString &verse : sura) {
            if (verse.isEmpty() || verse.size() * 100 < longest * 95)
                continue;
            ++piled;
            const QChar last = verse.back();
            if (last.isLetterOrNumber() || last.isMark() || last == QChar(0x200C))
                ++insideWord;
        }
    }
    return piled >= 20 && insideWord * 2 >= piled ? insideWord : 0;
}

void TextDatabaseBuilder::writeNotices(const QString &path,
                                       const std::vector<std::pair<QString, QString>> &notices)
{
    QByteArray text;
    for (const auto &[source, notice] : notices) {
        text += "== " + source.toUtf8() + " ==\n" + notice.toUtf8();
        text += notice.endsWith(QLatin1Char('\n')) ? "\n" : "\n\n";
    }
    const QString reason = FileReplacement::write(path, text);
    if (!reason.isEmpty())
        throw Error(QStringLiteral("%1: cannot write: %2").arg(path, reason));
    say(QStringLiteral("wrote %1").arg(path));
}

TextDatabaseBuilder::Counts TextDatabaseBuilder::build()
{
    m_leftOut.clear();
    const QDir source(m_options.sourceDir);
    if (!source.exists())
        throw Error(QStringLiteral("%1: source folder not found").arg(m_options.sourceDir));
    const QString simplePath = source.filePath(QStringLiteral("quran/arabic/quran-simple.xml"));
    const QString cleanPath =
        source.filePath(QStringLiteral("quran/arabic/quran-simple-clean.xml"));

    say(QStringLiteral("reading %1").arg(simplePath));
    const TanzilText simple = TanzilReader::read(simplePath);
    if (simple.suras.size() != size_t(SuraNames::Count) || simple.verseCount() != VerseCount)
        throw Error(QStringLiteral("%1: %2 suras and %3 verses, but the Quran has %4 and %5")
                        .arg(simplePath)
                        .arg(simple.suras.size())
                        .arg(simple.verseCount())
                        .arg(SuraNames::Count)
                        .arg(VerseCount));
    say(QStringLiteral("reading %1").arg(cleanPath));
    const TanzilText clean = TanzilReader::read(cleanPath);
    checkAlignment(simple, clean, cleanPath);
    std::vector<Translation> translations;
    for (const QString &code : translationCodes(source, m_options.translation)) {
        const QString path = source.filePath(QStringLiteral("quran/persian/%1.xml").arg(code));
        say(QStringLiteral("reading %1").arg(path));
        Translation t{code, {}, {}, TanzilReader::read(path)};
        checkAlignment(simple, t.text, path);
        if (const int cut = cutVerses(t.text.suras)) {
            const QString why = QStringLiteral("%1: %2 verses stop inside a word at the same "
                                               "length: the file is cut")
                                    .arg(path)
                                    .arg(cut);
            if (code == m_options.translation)
                throw Error(why + QStringLiteral("; the verses need a whole translation"));
            say(why + QStringLiteral("; left out of the database until a whole file is "
                                     "supplied"));
            m_leftOut.append(
                QStringLiteral("%1 (cut: %2 verses stop inside a word)").arg(code).arg(cut));
            continue;
        }
        t.translator = headerField(t.text, path, QStringLiteral("Translator"));
        t.persianName = headerField(t.text, path, QStringLiteral("Name"));
        translations.push_back(std::move(t));
    }
    const TanzilText &translation = translations.front().text;
    const QString nahjPath = source.filePath(QStringLiteral("nahj/aligned/nahj.tsv"));
    say(QStringLiteral("reading %1").arg(nahjPath));
    const std::vector<NahjItem> nahj = NahjReader::read(nahjPath);
    const QString nahjLicencePath =
        source.filePath(QStringLiteral("nahj/persian-dashti/LICENSE.geraked-application-nahj"));
    const QString nahjLicence = verbatim(nahjLicencePath);
    say(QStringLiteral("reading %1").arg(m_options.topics));
    const TopicIndex topics = TopicIndex::read(m_options.topics);
    std::vector<QStringList> searchTexts;
    for (const QStringList &sura : clean.suras) {
        QStringList verses;
        for (const QString &verse : sura)
            verses.append(searchForm(verse));
        searchTexts.push_back(verses);
    }
    topics.checkMustHold(searchTexts);

    const QFileInfo target(m_options.output);
    QTemporaryFile temp(
        target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.tmp")));
    if (!temp.open())
        throw Error(QStringLiteral("%1: %2").arg(temp.fileTemplate(), temp.errorString()));
    temp.close();

    Counts counts;
    counts.leftOut = m_leftOut;
    std::vector<std::pair<QString, QString>> notices;
    {
        Writer db(temp.fileName());
        db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;");
        db.exec(TextSchema::createTables().constData());

        say(QStringLiteral("writing %1 verses").arg(VerseCount));
        const auto num = db.prepare("INSERT INTO num (id, chapter, vers, name) VALUES (?,?,?,?)");
        const auto verse =
            db.prepare("INSERT INTO main (id1, Arabic, English, search1, sub) VALUES (?,?,?,?,?)");
        int id = 0;
        for (size_t s = 0; s < simple.suras.size(); ++s) {
            const QString name = SuraNames::name(int(s) + 1);
            for (qsizetype a = 0; a < simple.suras[s].size(); ++a) {
                ++id;
                Writer::insert(*num, {id, int(s) + 1, int(a) + 1, name});
                // search1 holds the clean text verbatim, pause marks included: the searches'
                // folding ignores them. The topic index matches the form without them.
                Writer::insert(*verse,
                               {id, simple.suras[s][a], translation.suras[s][a], clean.suras[s][a],
                                topics.codesFor(int(s) + 1, int(a) + 1, searchTexts[s][a])});
            }
        }
        counts.num = counts.main = id;

        say(QStringLiteral("writing %1 translations").arg(translations.size()));
        const auto translator = db.prepare("INSERT INTO Translations (Code, Ord, Translator, "
                                           "PersianName, Notice) VALUES (?,?,?,?,?)");
        const auto translated =
            db.prepare("INSERT INTO TranslationText (Code, id1, Text) VALUES (?,?,?)");
        for (size_t t = 0; t < translations.size(); ++t) {
            const Translation &tr = translations[t];
            Writer::insert(*translator,
                           {tr.code, int(t) + 1, tr.translator, tr.persianName, tr.text.notice});
            int verseId = 0;
            for (const QStringList &sura : tr.text.suras) {
                for (const QString &text : sura)
                    Writer::insert(*translated, {tr.code, ++verseId, text});
            }
        }
        counts.translations = int(translations.size());

        say(QStringLiteral("writing Nahj al-Balagha"));
        const auto section = db.prepare("INSERT INTO Type (Type, Name) VALUES (?,?)");
        for (int s = 1; s <= NahjReader::SectionCount; ++s) {
            Writer::insert(*section, {s, NahjReader::sectionTitle(s)});
            ++counts.type;
        }
        const auto item =
            db.prepare("INSERT INTO main (Code, ID, Name2, Top, arabic2, Farsi, search) "
                       "VALUES (?,?,?,?,?,?,?)");
        for (const NahjItem &n : nahj) {
            // The compiler's preface introduces the book; it is shown for the first section.
            if (n.section == 0 && n.number != 1)
                continue;
            const bool introduction = n.section == 0;
            Writer::insert(*item,
                           {n.section, n.number,
                            introduction ? n.title : NahjReader::itemLabel(n.section, n.number),
                            introduction ? QString() : n.title, n.arabic, n.persian,
                            NahjReader::searchForm(n.arabic)});
            ++counts.main;
        }

        const auto notice = db.prepare("INSERT INTO Notices (Source, Notice) VALUES (?,?)");
        const auto addNotice = [&](const QString &sourceName, const QString &text) {
            Writer::insert(*notice, {sourceName, text});
            notices.emplace_back(sourceName, text);
            ++counts.notices;
        };
        std::vector<const TanzilText *> noticed{&simple, &clean};
        for (const Translation &t : translations)
            noticed.push_back(&t.text);
        for (const TanzilText *text : noticed)
            addNotice(text->fileName, text->notice);
        addNotice(QStringLiteral("nahj.tsv"),
                  QStringLiteral("Nahj al-Balagha, compiled by ash-Sharif ar-Radi. Arabic text: "
                                 "al-islam.org's online edition. Persian translation: Mohammad "
                                 "Dashti."));
        addNotice(QFileInfo(nahjLicencePath).fileName(), nahjLicence);

        db.exec(TextSchema::createIndexes().constData());
        db.exec("COMMIT; ANALYZE;");
    }

    const QByteArray from = QFile::encodeName(temp.fileName());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        throw Error(QStringLiteral("%1: cannot write: %2")
                        .arg(target.absoluteFilePath(), QString::fromLocal8Bit(strerror(errno))));
    temp.setAutoRemove(false);
    if (!m_options.notices.isEmpty())
        writeNotices(m_options.notices, notices);
    for (const QString &line : topics.countReport(searchTexts))
        say(line);
    say(QStringLiteral("wrote %1").arg(target.absoluteFilePath()));
    return counts;
}
