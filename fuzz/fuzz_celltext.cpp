// The text formats kept in fields. Any cell text splits into rows that join back to the same
// text; rows of cleaned cells join into a text that splits back into the same rows; a name
// list splits into pieces that, put back between "%", give the list again.
#include "storage/celltext.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const QList<QStringList> rows = celltext::split(text);
    if (rows.isEmpty() || celltext::join(rows) != text)
        std::abort();

    // The same characters taken as cells of a grid, one cell per "|", one row per "\n".
    QList<QStringList> grid;
    for (const QString& line : text.split(u'\n')) {
        QStringList cells;
        for (const QString& cell : line.split(u'|'))
            cells << celltext::cleanCell(cell);
        grid << cells;
    }
    for (const QStringList& row : grid)
        for (const QString& cell : row)
            if (cell.contains(celltext::CellSeparator) || cell.contains(celltext::RowSeparator) ||
                cell.contains(u'\n') || cell.contains(QChar(0)))
                std::abort();
    if (celltext::split(celltext::join(grid)) != grid)
        std::abort();

    QStringList list{QStringLiteral("kept")};
    SplitList(text, list);
    if (list.isEmpty() || list.first() != QStringLiteral("kept"))
        std::abort();
    if (text.isEmpty() ? list.size() != 1 : list.mid(1).join(u'%') != text)
        std::abort();
    return 0;
}
