#pragma once
// Stored times: "08:00 AM" as the set-up page writes it into open and Close (and "08:00AM",
// without the blank). Time labels of the page grid.
#include <QString>
#include <QTime>
#include <optional>

namespace storedtime {

// The time of day of a stored time; std::nullopt when the text is not one.
std::optional<QTime> parse(const QString& text);
// "hh:mm ampm": two-digit hour of the 12-hour clock, colon, two-digit minutes, blank, AM/PM.
QString label(QTime time);
// The stored form of a time, as the set-up page writes it.
QString format(QTime time);

}  // namespace storedtime
