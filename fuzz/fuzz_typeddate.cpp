// A date typed in the Open Page box, under the locales a user may have. Any text either makes
// no date or a valid one; and the date found, written as year-month-day, is read back as the
// same date under every locale.
#include "navigation/typeddate.h"
#include "platform/clock.h"

#include <QLocale>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::English, QLocale::UnitedKingdom),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France)};
    program::setToday(QDate(2030, 3, 5));
    const QLocale& locale = locales[data[0] % std::size(locales)];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const std::optional<QDate> date = parseTypedDate(text, locale);
    if (!date)
        return 0;
    if (!date->isValid())
        std::abort();
    if (date->year() >= 1000 && date->year() <= 9999) {
        const std::optional<QDate> again = parseTypedDate(date->toString(Qt::ISODate), locale);
        if (!again || *again != *date)
            std::abort();
    }
    return 0;
}
