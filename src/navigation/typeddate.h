#pragma once
// A date typed by the user, read as the platform's date conversion reads it under a locale:
// "11/11/99", "1-1-00", "2004-02-29", the locale's own short and long forms ("5 Mar 2030",
// "Tuesday, March 5, 2030", "05.03.30").
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The text is split at blanks, "/", "-", "." and "," into numbers and words.
// - A word is a month (the locale's full or abbreviated name, or the first three letters
//   or more of its full name, in any case) or a weekday name, which is passed over. Any
//   other word makes the text no date.
// - With a month named, the numbers are the day and the year (the year first only when it
//   is written with three or four digits).
// - Three numbers, the first of three or four digits: year, month, day.
// - Otherwise day and month stand in the order of the locale's short format (the day first
//   where that format puts the day before the month, whether it writes the month as a
//   number or as a name), the year after them; without a year the date is in this year.
// A two-digit year is the one with those last digits from 70 years before this year to 29
// years after it. std::nullopt for anything else.
std::optional<QDate> parseTypedDate(const QString& text, const QLocale& locale);
