#include "common/german.h"

#include <clocale>
#include <locale.h>

QString germanLocaleMissing()
{
    if (locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t(nullptr))) {
        freelocale(german);
        return {};
    }
    return QStringLiteral("the system lacks the locale de_DE.UTF-8 (localedef -i de_DE -f UTF-8 de_DE.UTF-8 "
                          "makes it, from Debian's locales package)");
}
