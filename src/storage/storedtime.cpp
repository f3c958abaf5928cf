#include "storage/storedtime.h"

#include <QLocale>
#include <QRegularExpression>

namespace storedtime {
namespace {
// The system's AM or PM designator, where it has one.
QString designator(bool am)
{
    const QLocale locale = QLocale::system();
    const QString text = am ? locale.amText() : locale.pmText();
    if (!text.isEmpty())
        return text;
    return am ? QStringLiteral("AM") : QStringLiteral("PM");
}
}  // namespace

std::optional<QTime> parse(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(\d{1,2})\s*:\s*(\d{1,2})(?:\s*:\s*(\d{1,2}))?\s*([AaPp])\.?\s*[Mm]?\.?\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const bool pm = m.captured(4).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
    // The set-up page accepts hours 00 to 12; 00 and 12 AM are midnight, 12 PM is noon.
    if (hour > 12 || minute > 59 || second > 59)
        return std::nullopt;
    if (hour == 12)
        hour = 0;
    if (pm)
        hour += 12;
    return QTime(hour, minute, second);
}

QString twelveHour(QTime time, const QString& am, const QString& pm)
{
    int hour = time.hour() % 12;
    if (hour == 0)
        hour = 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? am : pm);
}

QString label(QTime time)
{
    return twelveHour(time, designator(true), designator(false));
}

QString format(QTime time)
{
    return twelveHour(time, QStringLiteral("AM"), QStringLiteral("PM"));
}

}  // namespace storedtime
