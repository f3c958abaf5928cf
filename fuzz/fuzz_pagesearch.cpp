// The page search reads stored UTF-8 bytes on a fast path of its own; it must find a name
// exactly where QString's case-insensitive search over the same text finds it. The first
// byte gives the length of the name, the rest of the input is the page.
#include "storage/pagesearch.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t nameSize = std::min<size_t>(data[0], size - 1);
    const char* name = reinterpret_cast<const char*>(data) + 1;
    const char* page = name + nameSize;
    const qsizetype pageSize = qsizetype(size - 1 - nameSize);

    const storage::NameMatcher matcher(QString::fromUtf8(name, qsizetype(nameSize)));
    const bool fast = matcher.matchesUtf8(page, pageSize);
    const bool plain = QString::fromUtf8(page, pageSize).contains(matcher.name(), Qt::CaseInsensitive);
    if (fast != plain)
        std::abort();
    // The matcher keeps a buffer between pages: a second page gets the same answer.
    if (matcher.matchesUtf8(page, pageSize) != fast)
        std::abort();
    return 0;
}
