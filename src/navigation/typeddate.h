#pragma once
// A date typed by the user ("11/11/99", "1-1-00", "2004-02-29").
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// Reads day and month of a typed date in the locale's order of the two (month first where
// the locale writes its short dates without a numeric month), the year after them; a first
// number of four digits is a year (year, month, day). Two-digit years 30 to 99 are 19xx,
// 00 to 29 are 20xx; a date of two numbers is in the current year. std::nullopt for
// anything else.
std::optional<QDate> parseTypedDate(const QString& text, const QLocale& locale);
