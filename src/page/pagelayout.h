#pragma once
// Laying out a page grid: the provider columns with their headings, and the time rows.
// The day page and the template editor share this; they differ only in the Style.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>

class FlexGrid;
class QFont;
namespace storage {
struct Layout;
}

// The time of each row of a page's cell text under a layout, in minutes from midnight (running
// on past midnight), as BuildTimeRows lays them out: none for the empty row before the first
// time and for the two after the last. Empty when the layout's times cannot be laid out from.
QList<std::optional<int>> cellRowTimes(const storage::Layout& layout);

// The font of every page grid and of its cell editor: Arial, 8 point, bold, not italic.
QFont pageGridFont();

// A layout field that cannot be laid out from (an unreadable stored time, a slot length
// that is not a whole number of minutes above zero).
class LayoutError : public std::runtime_error {
public:
    LayoutError(const QString& field, const QString& value);
    QString field() const { return field_; }
    QString value() const { return value_; }
    // A text for a message box, naming the field and its value.
    QString message() const;

private:
    QString field_;
    QString value_;
};

class PageGridLayout {
public:
    struct Style {
        int timeColumnWidth;                 // twips
        std::array<int, 4> providerWidths;   // 1, 2, 3, and 4 or more providers
        bool blankAfterLabel;                // time label followed by one blank
    };
    static const Style DayPage;         // 840; 7800 / 3900 / 2600 / 1950; "08:00 AM "
    static const Style TemplateEditor;  // 800; 7200 / 3600 / 2400 / 1800; "08:00 AM"

    PageGridLayout(FlexGrid& grid, const Style& style) : grid_(grid), style_(style) {}

    // Column 0 and colCount - 1 provider columns: numbers in row 0 (centred), sites in row 1
    // and names in row 2 (left); element i of sites and names belongs to column i, and an
    // element that does not exist gives an empty heading. Sets LastCol (0 with no providers).
    void BuildProviderColumns(int colCount, const QStringList& sites, const QStringList& names);

    // Row 3 empty, the time labels from row 4 on, two empty rows after the last. Afterwards
    // openTime holds the last generated time (stored form), LastRow the last row. Runs
    // afterTimeRows at its end. Throws LayoutError (field "open", "Close" or "timeslot")
    // before touching the grid when a value cannot be laid out from.
    void BuildTimeRows(QString& openTime, const QString& closeTime, int slot);

    // Both of the above from a stored layout (the settings' or a page row's copy): its lists
    // split, its provider columns, then its time rows. Throws LayoutError as BuildTimeRows.
    void BuildFrom(const storage::Layout& layout);

    // What the screen does once the time rows stand (the day page's ApplyTemplate).
    std::function<void()> afterTimeRows;

    int LastRow = 0;
    int LastCol = 0;
    int EditRow = 0;  // the row counter while the time rows are built

private:
    QString label(int minutes) const;

    FlexGrid& grid_;
    Style style_;
};
