// The database builder's reader of the topic file against any file content: it either raises
// an Error "path:line: ..." or answers an index whose rules can be applied to a verse.

#include "fuzz/ScratchFile.h"
#include "platform/Error.h"
#include "tools/textdb/TopicIndex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ScratchFile file(QStringLiteral("topics.txt"));
    const QString &path =
        file.write(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        const TopicIndex index = TopicIndex::read(path);
        if (index.topics().size() != size_t(TopicIndex::codes().size()))
            std::abort();
        const QStringList codes = index.codesFor(2, 255, QString::fromUtf8("الله لا اله الا هو"))
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &code : codes) {
            if (!TopicIndex::codes().contains(code))
                std::abort();
        }
    } catch (const Error &error) {
        if (!error.message().startsWith(path + QLatin1Char(':')))
            std::abort();
    }
    return 0;
}
