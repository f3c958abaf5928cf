#pragma once
// What the day page needs of the month calendar beside it. The calendar itself lives with
// the navigation; the page only draws it on a date and colours its selected day.
#include <QColor>
#include <QDate>

class QWidget;

class DayCalendar {
public:
    virtual ~DayCalendar() = default;

    // Draws the month of a date and selects the date (a date before 1998 changes nothing).
    virtual void DrawMonth(QDate date) = 0;
    // Sets the month and year lists to a date, touching only a list that differs.
    virtual void ShowMonthYear(QDate date) = 0;
    // The selected label, 0 to 41.
    virtual int SelDay() const = 0;
    virtual void setDayColour(int index, const QColor& colour) = 0;
    // Set while code changes a list's selection: list clicks are then not the user's.
    virtual bool& Updating() = 0;
    // The widget that takes the keyboard focus for the calendar (Picture2).
    virtual QWidget* focusWidget() = 0;
};
