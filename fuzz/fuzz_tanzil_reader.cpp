// The database builder's reader of the Quran's XML texts against any file content: it either
// raises an Error naming the file or answers a text whose verses and line numbers agree.

#include "fuzz/ScratchFile.h"
#include "platform/Error.h"
#include "tools/textdb/TanzilReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ScratchFile file(QStringLiteral("quran.xml"));
    const QString &path =
        file.write(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        const TanzilText text = TanzilReader::read(path);
        if (text.suras.empty() || text.suras.size() != text.ayaLines.size())
            std::abort();
        int verses = 0;
        for (size_t s = 0; s < text.suras.size(); ++s) {
            if (size_t(text.suras[s].size()) != text.ayaLines[s].size())
                std::abort();
            for (const QString &verse : text.suras[s]) {
                if (verse.trimmed().isEmpty())
                    std::abort();
            }
            verses += int(text.suras[s].size());
        }
        if (verses != text.verseCount())
            std::abort();
    } catch (const Error &error) {
        if (!error.message().startsWith(path))
            std::abort();
    }
    return 0;
}
