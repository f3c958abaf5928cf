#include "page/pagelayout.h"

#include "page/FlexGrid.h"
#include "platform/paintlock.h"
#include "storage/celltext.h"
#include "storage/settings.h"
#include "storage/storedtime.h"

#include <QCoreApplication>
#include <QFont>

#include <QTime>
#include <algorithm>

namespace {
constexpr int MinutesPerDay = 24 * 60;
constexpr int FirstTimeRow = 4;  // below the three heading rows and one empty data row

// Minutes from midnight of a stored time; seconds are not part of the layout.
std::optional<int> minutesOf(const QString& stored)
{
    const std::optional<QTime> time = storedtime::parse(stored);
    if (!time)
        return std::nullopt;
    return time->hour() * 60 + time->minute();
}

QTime timeOfDay(int minutes)
{
    return QTime(0, 0).addSecs((minutes % MinutesPerDay) * 60);
}
}  // namespace

LayoutError::LayoutError(const QString& field, const QString& value)
    : std::runtime_error(QStringLiteral("layout field %1: \"%2\"").arg(field, value).toStdString()),
      field_(field), value_(value)
{
}

QString LayoutError::message() const
{
    return QCoreApplication::translate("LayoutError", "The page cannot be laid out: the setting %1 holds \"%2\".")
        .arg(field_, value_);
}

const PageGridLayout::Style PageGridLayout::DayPage{840, {7800, 3900, 2600, 1950}, true};
const PageGridLayout::Style PageGridLayout::TemplateEditor{800, {7200, 3600, 2400, 1800}, false};

QString PageGridLayout::label(int minutes) const
{
    QString text = storedtime::label(timeOfDay(minutes));
    if (style_.blankAfterLabel)
        text += u' ';
    return text;
}

void PageGridLayout::BuildProviderColumns(int colCount, const QStringList& sites, const QStringList& names)
{
    PaintLock lock(&grid_);
    // The time column stays even when a layout names no providers.
    grid_.setCols(std::max(colCount, 1));
    grid_.setColWidth(0, style_.timeColumnWidth);
    const int providers = colCount - 1;
    if (providers > 0) {
        const int width = style_.providerWidths[std::min(providers, 4) - 1];
        for (int c = 1; c <= providers; ++c)
            grid_.setColWidth(c, width);
    }
    const auto item = [](const QStringList& list, int i) { return i < list.size() ? list[i] : QString(); };

    grid_.setRow(0);
    for (int c = 1; c <= providers; ++c) {
        grid_.setCol(c);
        grid_.setText(QString::number(c));
        grid_.setCellAlignment(4);
    }
    grid_.setRow(1);
    for (int c = 1; c <= providers; ++c) {
        grid_.setCol(c);
        grid_.setText(item(sites, c));
        grid_.setCellAlignment(1);
    }
    grid_.setRow(2);
    for (int c = 1; c <= providers; ++c) {
        grid_.setCol(c);
        grid_.setText(item(names, c));
        grid_.setCellAlignment(1);
    }
    LastCol = std::max(providers, 0);
}

void PageGridLayout::BuildTimeRows(QString& openTime, const QString& closeTime, int slot)
{
    const std::optional<int> open = minutesOf(openTime);
    if (!open)
        throw LayoutError(QStringLiteral("open"), openTime);
    const std::optional<int> close = minutesOf(closeTime);
    if (!close)
        throw LayoutError(QStringLiteral("Close"), closeTime);
    if (slot < 1 || slot > MinutesPerDay)
        throw LayoutError(QStringLiteral("timeslot"), QString::number(slot));

    {
        PaintLock lock(&grid_);
        // Minutes run on past midnight rather than wrapping, so a late opening time still
        // ends the rows once it passes the closing time.
        int time = *open;
        EditRow = FirstTimeRow;
        grid_.setRows(FirstTimeRow + 1);
        grid_.setRow(FirstTimeRow);
        grid_.setCol(0);
        grid_.setText(label(time));
        if (time <= *close) {
            do {
                ++EditRow;
                grid_.setRows(EditRow + 1);
                grid_.setRow(EditRow);
                time += slot;
                grid_.setText(label(time));
            } while (time + 1 <= *close);
        }
        openTime = storedtime::format(timeOfDay(time));
        grid_.setRows(EditRow + 3);
        LastRow = EditRow + 2;
    }
    if (afterTimeRows)
        afterTimeRows();
}

void PageGridLayout::BuildFrom(const storage::Layout& layout)
{
    QStringList sites, names;
    SplitList(layout.sites, sites);
    SplitList(layout.names, names);
    BuildProviderColumns(layout.listno + 1, sites, names);
    QString open = layout.open;
    BuildTimeRows(open, layout.close, layout.timeslot);
}

QList<std::optional<int>> cellRowTimes(const storage::Layout& layout)
{
    const std::optional<int> open = minutesOf(layout.open);
    const std::optional<int> close = minutesOf(layout.close);
    if (!open || !close || layout.timeslot < 1 || layout.timeslot > MinutesPerDay)
        return {};
    // As BuildTimeRows: the first time always, then one slot after another while the time
    // before it lies before the closing time.
    QList<std::optional<int>> rows{std::nullopt, *open};
    int time = *open;
    if (time <= *close) {
        do {
            time += layout.timeslot;
            rows.append(time);
        } while (time + 1 <= *close);
    }
    rows << std::nullopt << std::nullopt;
    return rows;
}

QFont pageGridFont()
{
    QFont f(QStringLiteral("Arial"), 8);
    f.setBold(true);
    f.setItalic(false);
    return f;
}
