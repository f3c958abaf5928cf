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
