#include "storage/celltext.h"

#include <algorithm>

namespace celltext {

QString join(const QList<QStringList>& rows)
{
    QString out;
    qsizetype size = 0;
    for (const QStringList& row : rows)
        for (const QString& cell : row)
            size += cell.size() + 1;
    out.reserve(size);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += RowSeparator;
        const QStringList& row = rows[r];
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += CellSeparator;
            out += row[c];
        }
    }
    return out;
}

QList<QStringList> split(const QString& text)
{
    QList<QStringList> rows;
    for (QStringView line : QStringView(text).split(RowSeparator)) {
        QStringList cells;
        for (QStringView cell : line.split(CellSeparator))
            cells.append(cell.toString());
        rows.append(std::move(cells));
    }
    return rows;
}

QString cleanCell(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c == CellSeparator || c == RowSeparator || c == u'\n')
            c = u' ';
        else if (c.unicode() == 0)
            c = NulStandIn;
    return out;
}

bool needsCleaning(const QString& text)
{
    for (QChar c : text)
        if (c == CellSeparator || c == RowSeparator || c == u'\n' || c.unicode() == 0)
            return true;
    return false;
}

QString storable(const QString& text)
{
    if (!text.contains(QChar(0)))
        return text;
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() == 0)
            c = NulStandIn;
    return out;
}

bool holdsText(const QString& text)
{
    for (QChar c : text)
        if (c != CellSeparator && c != RowSeparator)
            return true;
    return false;
}

bool sameCells(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const QList<QStringList> x = split(a), y = split(b);
    for (qsizetype r = 0; r < std::max(x.size(), y.size()); ++r) {
        const QStringList xr = x.value(r), yr = y.value(r);
        for (qsizetype c = 0; c < std::max(xr.size(), yr.size()); ++c)
            if (xr.value(c) != yr.value(c))
                return false;
    }
    return true;
}

}  // namespace celltext

void SplitList(const QString& text, QStringList& list)
{
    // Positions are qsizetype, so texts of any length split without overflow.
    const QString first = list.isEmpty() ? QString() : list.first();
    list.clear();
    list.append(first);
    if (text.isEmpty())
        return;
    qsizetype p = 0;
    while (p >= 0) {
        const qsizetype q = text.indexOf(u'%', p);
        if (q >= 0) {
            list.append(text.mid(p, q - p));
            p = q + 1;
        } else {
            list.append(text.mid(p));
            p = -1;
        }
    }
}
