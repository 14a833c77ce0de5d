// The INI reader against any file content: the text comes back out byte for byte, and a value
// set reads back as set (line breaks as blanks), in the document and in its written text,
// whose lines are those of the document.
//
// Input: the value to set, a NUL byte, then the file.

#include "platform/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArray file = nul < 0 ? input : input.mid(nul + 1);
    const QString value = QString::fromUtf8(nul < 0 ? QByteArray() : input.left(nul));

    IniDocument document = IniDocument::parse(file);
    if (document.toBytes() != file)
        std::abort();
    (void)document.value(QStringLiteral("Options"), QStringLiteral("Server"));

    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    expected.replace(QChar(0), QLatin1Char(' '));
    const int before = int(document.lines().size());
    document.setValue(QStringLiteral("Options"), QStringLiteral("Server"), value);
    if (document.value(QStringLiteral("Options"), QStringLiteral("Server")) != expected)
        std::abort();
    if (document.lines().size() > before + 2)
        std::abort();
    const IniDocument again = IniDocument::parse(document.toBytes());
    if (again.value(QStringLiteral("Options"), QStringLiteral("Server")) != expected ||
        again.lines() != document.lines())
        std::abort();
    return 0;
}
