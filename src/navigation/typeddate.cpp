#include "navigation/typeddate.h"

#include "platform/clock.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Whether the locale's short format puts the day before the month.
bool dayFirst(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    return d >= 0 && m >= 0 && d < m;
}

// A year of two digits lies in the hundred years from 70 years before this year to 29
// after it: "99" and "00" are 1999 and 2000, and the short date the screen shows for a
// year of the calendar reads back as that year.
int fullYear(const QString& digits)
{
    const int n = digits.toInt();
    if (digits.size() > 2)
        return n;
    const int first = program::today().year() - 70;
    int year = first - first % 100 + n;
    if (year < first)
        year += 100;
    return year;
}

QString folded(QString name)
{
    name.remove(u'.');
    return name.toCaseFolded();
}

// The month a word names under the locale, 0 when none.
int monthNamed(const QString& word, const QLocale& locale)
{
    const QString w = folded(word);
    for (int m = 1; m <= 12; ++m) {
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            if (w == folded(locale.monthName(m, type)) || w == folded(locale.standaloneMonthName(m, type)))
                return m;
        }
    }
    // "Sep" and "Sept" alike: three letters or more that begin one full name only.
    if (w.size() < 3)
        return 0;
    int found = 0;
    for (int m = 1; m <= 12; ++m) {
        if (folded(locale.monthName(m, QLocale::LongFormat)).startsWith(w)) {
            if (found)
                return 0;
            found = m;
        }
    }
    return found;
}

bool isWeekday(const QString& word, const QLocale& locale)
{
    const QString w = folded(word);
    for (int d = 1; d <= 7; ++d)
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat})
            if (w == folded(locale.dayName(d, type)) || w == folded(locale.standaloneDayName(d, type)))
                return true;
    return false;
}

}  // namespace

std::optional<QDate> parseTypedDate(const QString& text, const QLocale& locale)
{
    static const QRegularExpression separators(QStringLiteral(R"([\s/.,\-]+)"));
    static const QRegularExpression digits(QStringLiteral(R"(^\d{1,4}$)"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    QStringList numbers;
    int month = 0;
    for (const QString& part : parts) {
        if (digits.match(part).hasMatch()) {
            numbers << part;
            continue;
        }
        // Words are letters only; "5th" or "noon" is no date.
        for (QChar c : part)
            if (!c.isLetter())
                return std::nullopt;
        if (const int named = monthNamed(part, locale)) {
            if (month)
                return std::nullopt;
            month = named;
        } else if (!isWeekday(part, locale)) {
            return std::nullopt;
        }
    }

    int day = 0, year = 0;
    if (month) {
        if (numbers.isEmpty() || numbers.size() > 2)
            return std::nullopt;
        QString dayText = numbers.value(0), yearText = numbers.value(1);
        if (numbers.size() == 2 && dayText.size() > 2)
            std::swap(dayText, yearText);
        if (dayText.size() > 2)
            return std::nullopt;
        day = dayText.toInt();
        year = yearText.isEmpty() ? program::today().year() : fullYear(yearText);
    } else if (numbers.size() == 3 && numbers[0].size() > 2) {
        year = numbers[0].toInt();
        month = numbers[1].toInt();
        day = numbers[2].toInt();
        if (numbers[1].size() > 2 || numbers[2].size() > 2)
            return std::nullopt;
    } else if (numbers.size() == 2 || numbers.size() == 3) {
        const bool dmy = dayFirst(locale);
        const QString& a = numbers[0];
        const QString& b = numbers[1];
        if (a.size() > 2 || b.size() > 2)
            return std::nullopt;
        day = (dmy ? a : b).toInt();
        month = (dmy ? b : a).toInt();
        year = numbers.size() == 3 ? fullYear(numbers[2]) : program::today().year();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
