#pragma once
// The month calendar beside the day page: 42 day labels in six weeks under the weekday
// headings, with the month list and the year list above.
#include "page/daycalendar.h"

#include <QDate>
#include <QWidget>
#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class MonthCalendar : public QWidget, public DayCalendar {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // Controls (objectName as the member; arrays carry their index in the property "index").
    QFrame* Picture1;                      // the weekday headings
    QLabel* Label12;                       // "Su"
    std::array<QPushButton*, 6> Cmd1;      // "Mo" to "Sa", without any action
    QFrame* Picture2;                      // the day labels and the lines between them
    std::array<QLabel*, 42> LblDay;        // font "Arial Narrow"
    QComboBox* monthList;                  // Combo(1): "January" to "December"
    QComboBox* yearList;                   // Combo(2): "1997" to "2038"

    // The date each label stands for: 42 consecutive days, ascending with the index.
    std::array<QDate, 42> CalDates;
    int selDay = 0;
    bool updating = false;

    // DayCalendar
    void DrawMonth(QDate date) override;
    void ShowMonthYear(QDate date) override;
    int SelDay() const override { return selDay; }
    void setDayColour(int index, const QColor& colour) override;
    bool& Updating() override { return updating; }
    QWidget* focusWidget() override;

    QColor dayColour(int index) const;

    // Scrolls the calendar so that label a shows date and the others follow it day by day.
    void Reanchor(int a, QDate date);
    // A key pressed in the calendar: moves the selection, or scrolls by weeks at the edges
    // (Right/Left/Down/Up, Page Down four weeks, Page Up three weeks). No page is opened.
    void MoveSelection(int keyCode, int& SelDay);

signals:
    // A mouse click on day label index.
    void LblDay_Click(int index);
    // A mouse click on the calendar's background.
    void Picture2_Click();
    // Tab, Enter or Space in the calendar: open the selected day.
    void openSelectedDay(int keyCode);
    // The month list (1) or the year list (2): a key pressed in the list or in its open
    // popup, and a change of its selection (by the user or by code, like the platform's
    // Click). Connect directly only.
    void Combo_KeyDown(int index, int& keyCode, int shift);
    void Combo_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCaptions();
};
