#include "navigation/typeddate.h"

#include <QRegularExpression>
#include <QStringList>
#include <array>

namespace {

enum Part { Day, Month, Year };

// The order in which the locale writes day, month and year in its short dates.
std::array<Part, 3> localeOrder(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    const qsizetype y = format.indexOf(u'y');
    if (d < 0 || m < 0 || y < 0 || format.contains(QLatin1String("MMM")))
        return {Month, Day, Year};
    std::array<std::pair<qsizetype, Part>, 3> parts{{{d, Day}, {m, Month}, {y, Year}}};
    std::sort(parts.begin(), parts.end());
    return {parts[0].second, parts[1].second, parts[2].second};
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
        std::array<Part, 3> order = localeOrder(locale);
        QStringList numbers{a, b};
        if (!c.isEmpty()) {
            numbers << c;
        } else {
            // Two numbers: day and month in the locale's order, this year.
            year = QDate::currentDate().year();
            std::array<Part, 3> dm{};
            int n = 0;
            for (Part p : order)
                if (p != Year)
                    dm[n++] = p;
            order = dm;
        }
        for (int i = 0; i < numbers.size(); ++i) {
            switch (order[i]) {
            case Day: day = numbers[i].toInt(); break;
            case Month: month = numbers[i].toInt(); break;
            case Year: year = fullYear(numbers[i]); break;
            }
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
