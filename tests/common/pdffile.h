#pragma once
// Reading back a PDF file the program wrote: its page count from the file itself, its text
// through pdftotext (poppler-utils) where that is installed.
#include <QString>
#include <optional>

// The number of pages in a PDF file (0 when it cannot be read).
int pdfPageCount(const QString& path);
// The words of a PDF file in reading order, each run of blanks and line breaks made one
// blank (the blank counts of a fixed-pitch sheet do not survive the reading back);
// nothing when pdftotext is not installed.
std::optional<QString> pdfWords(const QString& path);
