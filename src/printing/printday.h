#pragma once
// A day's schedule printed to a PDF file without a window (for a nightly sheet by cron or
// a script): the page as the day page would lay it out and show it, through the same
// printout. Nothing is stored: a date without a page prints its weekday's template.
#include <QDate>
#include <QString>
#include <optional>

namespace printday {

struct Request {
    QDate date;
    QString pdf;
    std::optional<int> column;  // one provider column; every column when empty
};

// Reads the values given on the command line (the date as YYYY-MM-DD, the column as a
// whole number; no column for every column). On a wrong value the error says why.
std::optional<Request> request(const QString& date, const QString& pdf,
                               const std::optional<QString>& column, QString& error);

// Prints the page into the PDF file; false with the reason in error when it could not.
bool print(const Request& request, QString& error);

}  // namespace printday
