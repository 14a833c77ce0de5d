// The settings stream reader and the font and colour settings objects against any file
// content. The reader never throws; an object raises only Error, and whatever it took from a
// damaged stream must still write a stream that reads without error. Values the writer leaves
// out (an empty font name, an empty custom colour list) come back as the object's own after
// one save, so it is the second save that must read back the same.

#include "platform/Error.h"
#include "settings/ColorSettings.h"
#include "settings/FontSettings.h"
#include "settings/StreamParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

template <typename Settings> void readBack(const QByteArray &bytes)
{
    Settings target(QStringLiteral("Quran"));
    try {
        target.read(bytes);
    } catch (const Error &) {
    }
    // read() raises, and so ends the run, when the writer's text is refused.
    Settings saved(QStringLiteral("other"));
    saved.read(target.toBytes());
    const QByteArray written = saved.toBytes();
    Settings again(QStringLiteral("other"));
    again.read(written);
    if (again.toBytes() != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const StreamParser::Result result = StreamParser::parse(bytes);
    if (result.ok() && !result.headerRead)
        std::abort();
    if (!result.ok() && !result.error.contains(QLatin1String(" on line ")))
        std::abort();
    readBack<FontSettings>(bytes);
    readBack<ColorSettings>(bytes);
    return 0;
}
