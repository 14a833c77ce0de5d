// kevran-builddb: writes the text database from the source texts.

#include "platform/Error.h"
#include "tools/textdb/TextDatabaseBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

// An installed builder reads the topical index installed with it; one in the build folder reads
// the index in the source tree.
QString defaultTopicFile()
{
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/kevran/topics.txt"));
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed)
                                        : QStringLiteral(KEVRAN_DEFAULT_TOPIC_FILE);
}

void usage(FILE *to)
{
    std::fprintf(
        to,
        "usage: kevran-builddb [--source DIR] [--output FILE] [--translation ID]"
        " [--topics FILE]\n"
        "                      [--notices FILE]\n"
        "  --source DIR       the source texts (default: " KEVRAN_DEFAULT_SOURCE_DIR ")\n"
        "  --output FILE      the database to write (default: 1.db)\n"
        "  --translation ID   the Persian translation the verses carry, a file\n"
        "                     quran/persian/ID.xml (default: fa.makarem); every\n"
        "                     translation of that folder is stored for the reader's choice\n"
        "  --topics FILE      the topical index (default: %s)\n"
        "  --notices FILE     also write the sources' notices, verbatim, to FILE\n",
        qUtf8Printable(defaultTopicFile()));
}

void print(const QString &line)
{
    std::printf("%s\n", qUtf8Printable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TextDatabaseBuilder::Options options;
    options.sourceDir = QStringLiteral(KEVRAN_DEFAULT_SOURCE_DIR);
    options.topics = defaultTopicFile();

    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        QString *target = arg == QLatin1String("--source")        ? &options.sourceDir
                          : arg == QLatin1String("--output")      ? &options.output
                          : arg == QLatin1String("--translation") ? &options.translation
                          : arg == QLatin1String("--topics")      ? &options.topics
                          : arg == QLatin1String("--notices")     ? &options.notices
                                                                  : nullptr;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage(stdout);
            return 0;
        }
        if (!target || i + 1 >= args.size()) {
            std::fprintf(stderr, "kevran-builddb: %s %s\n", qUtf8Printable(arg),
                         target ? "needs a value" : "is not an option");
            usage(stderr);
            return 2;
        }
        *target = args[++i];
    }

    try {
        const TextDatabaseBuilder::Counts counts = TextDatabaseBuilder(options, print).build();
        print(QStringLiteral("num: %1 rows, main: %2 rows, Type: %3 rows, Notices: %4 rows, "
                             "Translations: %5 rows")
                  .arg(counts.num)
                  .arg(counts.main)
                  .arg(counts.type)
                  .arg(counts.notices)
                  .arg(counts.translations));
        for (const QString &translation : counts.leftOut)
            print(QStringLiteral("left out: %1").arg(translation));
        return 0;
    } catch (const Error &e) {
        std::fprintf(stderr, "kevran-builddb: %s\n", qUtf8Printable(e.message()));
        return 1;
    }
}
