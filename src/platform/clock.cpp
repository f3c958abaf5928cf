#include "platform/clock.h"

namespace {
QDate g_pinned;
}

namespace program {

QDate today()
{
    return g_pinned.isValid() ? g_pinned : QDate::currentDate();
}

void setToday(QDate date)
{
    g_pinned = date;
}

QDate pinnedToday()
{
    return g_pinned;
}

}  // namespace program

namespace program {

QDateTime nowUtc()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return g_pinned.isValid() ? QDateTime(g_pinned, now.time(), Qt::UTC) : now;
}

}  // namespace program
