#include "navigation/PageNavigation.h"

#include "navigation/MonthCalendar.h"
#include "navigation/typeddate.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/paintlock.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

namespace {

const QDate kFirstPage(1998, 1, 1);
const QDate kLastPage(2038, 12, 31);

}  // namespace

PageNavigation::PageNavigation(frmAppt& form, MonthCalendar& calendar)
    : QObject(&form), form_(form), calendar_(calendar)
{
    connect(&calendar_, &MonthCalendar::LblDay_Click, this, &PageNavigation::LblDay_Click);
    connect(&calendar_, &MonthCalendar::Picture2_Click, this, &PageNavigation::Picture2_Click);
    connect(&calendar_, &MonthCalendar::openSelectedDay, this, [this](int keyCode) {
        PaintLock lock(&form_);
        Q_UNUSED(keyCode);
        openSelectedDay();
    });
    connect(&calendar_, &MonthCalendar::Combo_KeyDown, this, &PageNavigation::Combo_KeyDown);
    connect(&calendar_, &MonthCalendar::Combo_Click, this, &PageNavigation::Combo_Click);
    connect(&form_, &frmAppt::gridClicked, this, [this] {
        PaintLock lock(&form_);
        openSelectedDay();
    });

    // The status list is the form's own; its keys come through the same handler.
    QComboBox* status = form_.statusList;
    status->installEventFilter(this);
    status->view()->installEventFilter(this);
    connect(status, &QComboBox::currentIndexChanged, this, [this] { Combo_Click(0); });
    // A wheel turn over a list is not a choice: the lists' wheel events come here first.
    for (int i = 0; i < 3; ++i)
        Combo(i)->installEventFilter(this);

    form_.addCommand(form_.mnuPage, "mnuPageOpen", tr("Open\tCtrl+O"), [this] { mnuPageOpen_Click(); });
    form_.mnuPage->addSeparator()->setObjectName(QStringLiteral("Separator2"));
    form_.addCommand(form_.mnuPage, "mnuPageExit", tr("Exit\tF12"), [this] { form_.LeavePageScreen(); });
    form_.addCommand(form_.mnuNavi, "mnuNaviStatus", tr("Status\tF8"), [this] { mnuNaviStatus_Click(); });
    form_.addCommand(form_.mnuNavi, "mnuNaviMonth", tr("Month\tF9"), [this] { mnuNaviMonth_Click(); });
    form_.addCommand(form_.mnuNavi, "mnuNaviYear", tr("Year"), [this] { mnuNaviYear_Click(); });

    form_.addKeyHandler([this](int keyCode, int shift) { return handleKey(keyCode, shift); });
}

QComboBox* PageNavigation::Combo(int index) const
{
    switch (index) {
    case 0: return form_.statusList;
    case 1: return calendar_.monthList;
    default: return calendar_.yearList;
    }
}

bool PageNavigation::handleKey(int keyCode, int shift)
{
    if (keyCode == keys::KeyA + ('O' - 'A') && shift == 2) {
        mnuPageOpen_Click();
        return true;
    }
    if (shift != 0)
        return false;
    switch (keyCode) {
    case keys::F8: mnuNaviStatus_Click(); return true;
    case keys::F9: mnuNaviMonth_Click(); return true;
    case keys::F10: mnuNaviYear_Click(); return true;
    default: return false;
    }
}

void PageNavigation::LblDay_Click(int index)
{
    PaintLock lock(&form_);
    const QDate date = calendar_.CalDates[index];
    calendar_.setDayColour(calendar_.selDay, colours::Cream);
    if (date != form_.CalDateShown && !form_.switchPage(date)) {
        // The page on screen stays; so does its day in the calendar.
        calendar_.setDayColour(calendar_.selDay, colours::LightGrey);
        return;
    }
    form_.PageDate = date;
    calendar_.selDay = index;
    calendar_.setDayColour(index, colours::LightGrey);
    form_.Grid1->setFocus();
}

void PageNavigation::openSelectedDay()
{
    calendar_.setDayColour(calendar_.selDay, colours::LightGrey);
    LblDay_Click(calendar_.selDay);
}

void PageNavigation::Picture2_Click()
{
    form_.hideEditor();
    calendar_.focusWidget()->setFocus();
}

void PageNavigation::Combo_KeyDown(int index, int& keyCode, int)
{
    switch (keyCode) {
    case keys::Down:
    case keys::Up:
    case keys::Left:
    case keys::Right:
        ListBrowsing = true;
        return;
    case keys::Enter:
        break;
    default:
        return;
    }
    QComboBox* list = Combo(index);
    // In an open list the highlighted entry is the choice.
    if (list->view()->isVisible()) {
        const int highlighted = list->view()->currentIndex().row();
        bool& updating = calendar_.Updating();
        const bool was = updating;
        updating = true;
        if (highlighted >= 0)
            list->setCurrentIndex(highlighted);
        list->hidePopup();
        updating = was;
        keyCode = 0;
    }
    if (index == 0) {
        const bool closed = list->currentIndex() == 1;
        form_.setClosed(closed);
        if (closed)
            calendar_.focusWidget()->setFocus();
        else
            form_.Grid1->setFocus();
    } else {
        calendar_.setDayColour(calendar_.selDay, colours::Cream);
        const int day = calendar_.LblDay[calendar_.selDay]->text().toInt();
        const int month = calendar_.monthList->currentIndex() + 1;
        const int year = calendar_.yearList->currentIndex() + 1997;
        // A day past the month's end rolls into the next month (31 February is 3 March).
        const QDate date = QDate(year, month, 1).addDays(day - 1);
        calendar_.DrawMonth(date);
        calendar_.focusWidget()->setFocus();
    }
    ListBrowsing = false;
    keyCode = 0;
}

void PageNavigation::Combo_Click(int index)
{
    if (calendar_.Updating() || ListBrowsing)
        return;
    int enter = keys::Enter;
    Combo_KeyDown(index, enter, 0);
}

void PageNavigation::openList(int index)
{
    QComboBox* list = Combo(index);
    list->setFocus();
    keys::postTo(list, Qt::Key_Down, Qt::AltModifier);
    ListBrowsing = false;
}

void PageNavigation::mnuNaviStatus_Click()
{
    openList(0);
}

void PageNavigation::mnuNaviMonth_Click()
{
    openList(1);
}

void PageNavigation::mnuNaviYear_Click()
{
    openList(2);
}

void PageNavigation::mnuPageOpen_Click()
{
    for (;;) {
        const std::optional<QString> answer = dialogs::input(
            &form_,
            tr("Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)"),
            tr("Search Date"));
        if (!answer || answer->trimmed().isEmpty())
            return;
        const std::optional<QDate> date = parseTypedDate(*answer, QLocale::system());
        // Dates the calendar cannot show are refused before anything changes.
        if (!date || *date < kFirstPage || *date > kLastPage) {
            dialogs::message(&form_,
                             tr("Date entered is an invalid date or entered in the wrong format."),
                             tr("Search Date"));
            continue;
        }
        PaintLock lock(&form_);
        bool& updating = calendar_.Updating();
        calendar_.setDayColour(calendar_.selDay, colours::Cream);
        updating = true;
        if (form_.switchPage(*date)) {
            form_.PageDate = *date;
            calendar_.DrawMonth(*date);
        }
        calendar_.setDayColour(calendar_.selDay, colours::LightGrey);
        form_.Grid1->setFocus();
        updating = false;
        return;
    }
}

bool PageNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        for (int i = 0; i < 3; ++i) {
            QComboBox* list = Combo(i);
            if (watched != list)
                continue;
            // Over a list without the focus the wheel changes nothing; over the focused
            // list it moves the selection as the arrow keys do, and Enter acts on it.
            if (!list->hasFocus())
                return true;
            ListBrowsing = true;
            return false;
        }
    }
    QComboBox* status = form_.statusList;
    if (event->type() == QEvent::KeyPress && (watched == status || watched == status->view())) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = keys::keyCode(key);
        if (code != 0) {
            Combo_KeyDown(0, code, keys::shiftState(key));
            if (code == 0)
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
