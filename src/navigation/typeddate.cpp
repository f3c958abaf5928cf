#include "navigation/typeddate.h"

#include "platform/clock.h"

#include <QRegularExpression>

namespace {

// Whether the locale writes the day before the month in its numeric short dates (month
// first where it has no numeric month).
bool dayFirst(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    if (d < 0 || m < 0 || format.contains(QLatin1String("MMM")))
        return false;
    return d < m;
}

int fullYear(const QString& digits)
{
    const int n = digits.toInt();
    if (digits.size() > 2)
        return n;
    return n >= 30 ? 1900 + n : 2000 + n;
}

}  // namespace

std::optional<QDate> parseTypedDate(const QString& text, const QLocale& locale)
{
    static const QRegularExpression shape(QStringLiteral(R"(^\s*(\d{1,4})\s*[/.\- ]\s*(\d{1,2})\s*(?:[/.\- ]\s*(\d{1,4}))?\s*$)"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString a = m.captured(1), b = m.captured(2), c = m.captured(3);
    int day = 0, month = 0, year = 0;
    if (a.size() > 2) {
        // Year first: 2004-02-29.
        if (c.isEmpty())
            return std::nullopt;
        year = a.toInt();
        month = b.toInt();
        day = c.toInt();
    } else {
        // Day and month in the locale's order, the year after them (this year if none).
        const bool dmy = dayFirst(locale);
        day = (dmy ? a : b).toInt();
        month = (dmy ? b : a).toInt();
        year = c.isEmpty() ? program::today().year() : fullYear(c);
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
