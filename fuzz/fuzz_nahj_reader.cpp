// The database builder's reader of the aligned Nahj al-Balagha text against any file content:
// it either raises an Error naming the file or answers items numbered from 1 in each section,
// every section present.

#include "fuzz/ScratchFile.h"
#include "platform/Error.h"
#include "tools/textdb/NahjReader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ScratchFile file(QStringLiteral("nahj.tsv"));
    const QString &path =
        file.write(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        const std::vector<NahjItem> items = NahjReader::read(path);
        std::array<int, NahjReader::SectionCount + 1> counts{};
        for (const NahjItem &item : items) {
            if (item.section < 0 || item.section > NahjReader::SectionCount ||
                item.number != ++counts[size_t(item.section)])
                std::abort();
            if (item.section > 0 && (item.arabic.trimmed().isEmpty() || item.persian.isEmpty()))
                std::abort();
            (void)NahjReader::searchForm(item.arabic);
            (void)NahjReader::itemLabel(item.section, item.number);
        }
        for (int section = 1; section <= NahjReader::SectionCount; ++section) {
            if (counts[size_t(section)] == 0)
                std::abort();
        }
    } catch (const Error &error) {
        if (!error.message().startsWith(path))
            std::abort();
    }
    return 0;
}
