#pragma once
// The program's one reading of the calendar: today's date. Everything that asks "which day
// is it" asks here, so tests and benchmarks can pin the day and behave the same whatever
// the machine's date.
#include <QDate>

namespace program {

// Today's date on the local clock, or the pinned date.
QDate today();
// Pins today's date (tests, benchmarks); an invalid date goes back to the machine's clock.
void setToday(QDate date);
// The pinned date, invalid when today follows the machine's clock.
QDate pinnedToday();

}  // namespace program

#include <QDateTime>

namespace program {

// The moment now in UTC, for what is stored with a change; on the pinned date while today is
// pinned (the time of day from the clock).
QDateTime nowUtc();

}  // namespace program
