#include "navigation/MonthCalendar.h"

#include "platform/colours.h"
#include "platform/keys.h"
#include "platform/paintlock.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

constexpr int DayCount = 42;
constexpr int WeekDays = 7;
constexpr int FirstListYear = 1997;
constexpr int LastListYear = 2038;

// Nothing before 1998 is drawn; the keys may scroll a little past both ends of the lists.
const QDate FirstDrawable(1998, 1, 1);
const QDate BackwardLimit(1997, 11, 11);
const QDate ForwardLimit(2039, 1, 1);

const char* const MonthNames[] = {
    QT_TRANSLATE_NOOP("MonthCalendar", "January"),   QT_TRANSLATE_NOOP("MonthCalendar", "February"),
    QT_TRANSLATE_NOOP("MonthCalendar", "March"),     QT_TRANSLATE_NOOP("MonthCalendar", "April"),
    QT_TRANSLATE_NOOP("MonthCalendar", "May"),       QT_TRANSLATE_NOOP("MonthCalendar", "June"),
    QT_TRANSLATE_NOOP("MonthCalendar", "July"),      QT_TRANSLATE_NOOP("MonthCalendar", "August"),
    QT_TRANSLATE_NOOP("MonthCalendar", "September"), QT_TRANSLATE_NOOP("MonthCalendar", "October"),
    QT_TRANSLATE_NOOP("MonthCalendar", "November"),  QT_TRANSLATE_NOOP("MonthCalendar", "December")};
// Monday to Saturday; Sunday heads the first column.
const char* const Headings[] = {
    QT_TRANSLATE_NOOP("MonthCalendar", "Mo"), QT_TRANSLATE_NOOP("MonthCalendar", "Tu"),
    QT_TRANSLATE_NOOP("MonthCalendar", "We"), QT_TRANSLATE_NOOP("MonthCalendar", "Th"),
    QT_TRANSLATE_NOOP("MonthCalendar", "Fr"), QT_TRANSLATE_NOOP("MonthCalendar", "Sa")};

// Both grids share one geometry so the headings stand over their columns; the one-pixel
// gaps let the dark background show through as the lines between the days.
QGridLayout* weekGrid(QWidget* owner)
{
    auto* grid = new QGridLayout(owner);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);
    for (int c = 0; c < WeekDays; ++c) {
        grid->setColumnStretch(c, 1);
        grid->setColumnMinimumWidth(c, 26);
    }
    return grid;
}

bool isBackwardKey(int code)
{
    return code == keys::Left || code == keys::Up || code == keys::PageUp;
}

bool isForwardKey(int code)
{
    return code == keys::Right || code == keys::Down || code == keys::PageDown;
}

}  // namespace

MonthCalendar::MonthCalendar(QWidget* parent)
    : QWidget(parent), Picture1(nullptr), Label12(nullptr), Cmd1{}, Picture2(nullptr), LblDay{},
      monthList(nullptr), yearList(nullptr)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    monthList = new QComboBox(this);
    yearList = new QComboBox(this);
    for (const char* name : MonthNames)
        monthList->addItem(tr(name));
    for (int year = FirstListYear; year <= LastListYear; ++year)
        yearList->addItem(QString::number(year));
    auto* lists = new QHBoxLayout;
    lists->setSpacing(2);
    int index = 1;
    for (QComboBox* list : {monthList, yearList}) {
        list->setObjectName("Combo");
        list->setProperty("index", index);
        list->setAccessibleName(index == 1 ? tr("Month") : tr("Year"));
        list->setEditable(false);
        list->installEventFilter(this);
        list->view()->installEventFilter(this);
        connect(list, &QComboBox::currentIndexChanged, this, [this, index] { emit Combo_Click(index); });
        lists->addWidget(list, index == 1 ? 3 : 2);
        ++index;
    }
    column->addLayout(lists);

    Picture1 = new QFrame(this);
    Picture1->setObjectName("Picture1");
    Picture1->setAccessibleName(tr("Weekdays"));
    colours::paint(Picture1, colours::DarkGrey);
    QGridLayout* headings = weekGrid(Picture1);
    QFont headingFont = font();
    headingFont.setBold(true);
    Label12 = new QLabel(tr("Su"), Picture1);
    Label12->setObjectName("Label12");
    Label12->setAlignment(Qt::AlignCenter);
    Label12->setFont(headingFont);
    Label12->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    colours::paint(Label12, palette().color(QPalette::Button));
    headings->addWidget(Label12, 0, 0);
    for (int i = 0; i < int(Cmd1.size()); ++i) {
        auto* heading = new QPushButton(tr(Headings[i]), Picture1);
        heading->setObjectName("Cmd1");
        heading->setProperty("index", i);
        heading->setFlat(true);
        heading->setFocusPolicy(Qt::NoFocus);
        heading->setFont(headingFont);
        heading->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        heading->setMinimumWidth(0);
        colours::paint(heading, palette().color(QPalette::Button));
        headings->addWidget(heading, 0, i + 1);
        Cmd1[i] = heading;
    }
    column->addWidget(Picture1);

    Picture2 = new QFrame(this);
    Picture2->setObjectName("Picture2");
    Picture2->setAccessibleName(tr("Calendar"));
    Picture2->setFocusPolicy(Qt::StrongFocus);
    colours::paint(Picture2, colours::DarkGrey);
    Picture2->installEventFilter(this);
    QGridLayout* days = weekGrid(Picture2);
    QFont dayFont("Arial Narrow");
    dayFont.setPointSize(11);
    for (int i = 0; i < DayCount; ++i) {
        auto* label = new QLabel(Picture2);
        label->setObjectName("LblDay");
        label->setProperty("index", i);
        label->setFont(dayFont);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumHeight(20);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colours::Black);
        label->setPalette(p);
        label->installEventFilter(this);
        days->addWidget(label, i / WeekDays, i % WeekDays);
        LblDay[i] = label;
        setDayColour(i, colours::Cream);
    }
    column->addWidget(Picture2, 1);
}

void MonthCalendar::DrawMonth(QDate d)
{
    if (!d.isValid() || d < FirstDrawable)
        return;
    PaintLock lock(window());

    const QDate first(d.year(), d.month(), 1);
    // Monday 1 to Sunday 7 is the label of the first: a month that begins on a Sunday begins
    // in the second row, so the first row always shows days of the month before.
    const int start = first.dayOfWeek();
    for (int i = 0; i < DayCount; ++i)
        CalDates[i] = first.addDays(i - start);
    setCaptions();
    selDay = start + d.day() - 1;

    {
        QScopedValueRollback<bool> byCode(updating, true);
        monthList->setCurrentIndex(d.month() - 1);
        if (d.year() <= LastListYear)
            yearList->setCurrentIndex(d.year() - FirstListYear);
    }
    setDayColour(selDay, colours::LightCyan);
}

void MonthCalendar::ShowMonthYear(QDate d)
{
    if (!d.isValid())
        return;
    QScopedValueRollback<bool> byCode(updating, true);
    if (monthList->currentIndex() + 1 != d.month())
        monthList->setCurrentIndex(d.month() - 1);
    // The keys can reach days the year list has no entry for; it then keeps its year.
    const bool listed = d.year() >= FirstListYear && d.year() <= LastListYear;
    if (listed && yearList->currentIndex() + FirstListYear != d.year())
        yearList->setCurrentIndex(d.year() - FirstListYear);
}

void MonthCalendar::setDayColour(int index, const QColor& colour)
{
    if (index < 0 || index >= DayCount)
        return;
    colours::paint(LblDay[index], colour);
}

QColor MonthCalendar::dayColour(int index) const
{
    if (index < 0 || index >= DayCount)
        return {};
    return LblDay[index]->palette().color(QPalette::Window);
}

QWidget* MonthCalendar::focusWidget()
{
    return Picture2;
}

void MonthCalendar::Reanchor(int a, QDate date)
{
    if (a < 0 || a >= DayCount || !date.isValid())
        return;
    for (int i = 0; i < DayCount; ++i)
        CalDates[i] = date.addDays(i - a);
    setCaptions();
}

void MonthCalendar::MoveSelection(int keyCode, int& SelDay)
{
    if (SelDay < 0 || SelDay >= DayCount || !CalDates[SelDay].isValid())
        return;
    const bool backward = isBackwardKey(keyCode);
    const bool forward = isForwardKey(keyCode);
    if (!backward && !forward)
        return;
    if ((backward && CalDates[SelDay] < BackwardLimit) || (forward && CalDates[SelDay] > ForwardLimit))
        return;

    PaintLock lock(window());
    const int old = SelDay;
    const int last = DayCount - 1;
    switch (keyCode) {
    case keys::Right:
        if (SelDay == last) {
            Reanchor(last - WeekDays, CalDates[last]);
            SelDay = last - WeekDays + 1;
        } else {
            ++SelDay;
        }
        break;
    case keys::Left:
        if (SelDay == 0) {
            Reanchor(WeekDays, CalDates[0]);
            SelDay = WeekDays - 1;
        } else {
            --SelDay;
        }
        break;
    case keys::Down:
        if (SelDay > last - WeekDays)
            Reanchor(last - WeekDays, CalDates[last]);
        else
            SelDay += WeekDays;
        break;
    case keys::Up:
        if (SelDay < WeekDays)
            Reanchor(WeekDays, CalDates[0]);
        else
            SelDay -= WeekDays;
        break;
    case keys::PageDown:
        Reanchor(13, CalDates[last]);  // four weeks on
        break;
    case keys::PageUp:
        Reanchor(21, CalDates[0]);  // three weeks back
        break;
    default:
        break;
    }
    if (SelDay != old)
        setDayColour(old, colours::Cream);
    setDayColour(SelDay, colours::LightCyan);
    ShowMonthYear(CalDates[SelDay]);
}

void MonthCalendar::setCaptions()
{
    for (int i = 0; i < DayCount; ++i) {
        LblDay[i]->setText(CalDates[i].isValid() ? QString::number(CalDates[i].day()) : QString());
        LblDay[i]->setAccessibleName(QLocale::system().toString(CalDates[i], QLocale::LongFormat));
    }
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();

    if (watched == Picture2) {
        switch (type) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // Coloured once the action that moved the focus is done, for the day selected then:
            // a day click or Today moves the focus while it switches the page, before it
            // selects the new day, and the day selected before must not keep the colour.
            QMetaObject::invokeMethod(this, [this] {
                setDayColour(selDay, Picture2->hasFocus() ? colours::LightCyan : colours::LightGrey);
            }, Qt::QueuedConnection);
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                emit Picture2_Click();
                return true;
            }
            break;
        case QEvent::KeyPress: {
            // Seen before Qt's own handling, so Tab opens the day instead of moving the focus.
            const auto* key = static_cast<QKeyEvent*>(event);
            const int code = keys::keyCode(key);
            const int ascii = keys::keyAscii(key);
            if (code == keys::Tab || ascii == keys::Enter || ascii == keys::Space) {
                emit openSelectedDay(code == keys::Tab ? int(keys::Tab) : ascii);
                return true;
            }
            if (isBackwardKey(code) || isForwardKey(code)) {
                MoveSelection(code, selDay);
                return true;
            }
            break;
        }
        default:
            break;
        }
        return QWidget::eventFilter(watched, event);
    }

    if (type == QEvent::MouseButtonPress && watched->parent() == Picture2) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            // Consumed, so the press does not also reach Picture2 as a click on the background.
            emit LblDay_Click(watched->property("index").toInt());
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

    if (type == QEvent::KeyPress) {
        // The open popup has the keys while it is shown; the handler sees them all the same,
        // before the list acts on them.
        QComboBox* list = nullptr;
        for (QComboBox* candidate : {monthList, yearList}) {
            if (watched == candidate || watched == candidate->view())
                list = candidate;
        }
        if (list) {
            const auto* key = static_cast<QKeyEvent*>(event);
            int code = keys::keyCode(key);
            const int pressed = code;
            emit Combo_KeyDown(list->property("index").toInt(), code, keys::shiftState(key));
            if (pressed != 0 && code == 0)
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
