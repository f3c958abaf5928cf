#pragma once
// The two text formats kept inside fields.
//
// Cell text: a rectangle of cells read row by row, TAB between cells, carriage return
// between rows, no separator at the end, no quoting.
// Name list: items each followed by "%" (A%B%C%).
#include <QList>
#include <QString>
#include <QStringList>

namespace celltext {

inline constexpr QChar CellSeparator{u'\t'};
inline constexpr QChar RowSeparator{u'\r'};

// Joins rows of cells into cell text.
QString join(const QList<QStringList>& rows);
// Splits cell text into rows of cells (the inverse of join; an empty text is one empty cell).
QList<QStringList> split(const QString& text);

// What a cell may hold: the separators and line feeds would shift every later cell when the
// page is read back, so each becomes one blank; NUL becomes what storable() makes of it.
QString cleanCell(const QString& text);

// The character that stands for NUL in stored text.
inline constexpr QChar NulStandIn{u'\uFFFD'};
// Text as either engine stores it: the server cannot hold NUL in a text, so NUL becomes
// U+FFFD, the same on the file, and a page stores and reads back alike on both. Every other
// control character is stored as it is.
QString storable(const QString& text);
// Whether a cell's text holds a character cleanCell changes.
bool needsCleaning(const QString& text);

// Whether a cell text holds any character besides its separators: a page someone wrote on.
bool holdsText(const QString& text);

// Whether two cell texts hold the same text in every cell, a cell one of them lacks counting
// as empty (a page stored under fewer rows or columns than the screen shows).
bool sameCells(const QString& a, const QString& b);

}  // namespace celltext

// Splits a name list into list(1..k), k being the number of pieces; element 0 keeps what it
// held (an empty list gets an empty element 0). An empty text leaves only element 0.
void SplitList(const QString& text, QStringList& list);
