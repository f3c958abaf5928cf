#pragma once
// Every way of changing the day page's date from the calendar beside it: clicks and keys in
// the calendar, the month and year lists, the status list, the navigation commands, and
// Open Page for a typed date.
#include <QObject>

class MonthCalendar;
class QComboBox;
class frmAppt;

class PageNavigation : public QObject {
    Q_OBJECT
public:
    PageNavigation(frmAppt& form, MonthCalendar& calendar);

    // Set after an arrow key in one of the three lists, until Enter is handled there:
    // paging through a list acts only on Enter.
    bool ListBrowsing = false;

    void LblDay_Click(int index);
    void Picture2_Click();
    void Combo_KeyDown(int index, int& keyCode, int shift);
    void Combo_Click(int index);
    void mnuNaviStatus_Click();
    void mnuNaviMonth_Click();
    void mnuNaviYear_Click();
    void mnuPageOpen_Click();

    QComboBox* Combo(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tab, Enter or Space in the calendar, and a click on the grid: the selected day opens.
    void openSelectedDay();
    // Gives a list the focus and opens it (Alt+Down reaches it after the command).
    void openList(int index);
    bool handleKey(int keyCode, int shift);

    frmAppt& form_;
    MonthCalendar& calendar_;
};
