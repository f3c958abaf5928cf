// The day page's controls: built once when the page is made, the hooks by which its
// components attach (commands, keys, savers, the calendar), and the keys and clicks the page
// itself answers.
#include "page/frmAppt.h"

#include "page/CellEditor.h"
#include "page/FlexGrid.h"
#include "page/daycalendar.h"
#include "platform/colours.h"
#include "platform/keys.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The key legend; a function, so that it is read in the language loaded at the start.
QString legend()
{
    return frmAppt::tr(
        "            F1 Help     F2 Demo     F3                          F4 Search     F5 Refresh     "
        "F6 Memo     F7 Book     F8 Status     F9 Month     F10 Year     F11 Print     F12 Exit",
        "the key legend: the page lock sits in the gap after F3");
}

}  // namespace

void frmAppt::buildControls()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    root->setMenuBar(menuBar);
    mnuPage = menuBar->addMenu(tr("&Page"));
    mnuPage->setObjectName(QStringLiteral("mnuPage"));
    mnuEdit = menuBar->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuNavi = menuBar->addMenu(tr("Na&vigate"));
    mnuNavi->setObjectName(QStringLiteral("mnuNavi"));
    mnuSearch = menuBar->addMenu(tr("&Search"));
    mnuSearch->setObjectName(QStringLiteral("mnuSearch"));
    mnuHelp = menuBar->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(2, 2, 2, 2);
    body->setSpacing(3);
    root->addLayout(body, 1);

    Grid1 = new FlexGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(tr("Appointments"));
    Grid1->setFixedRows(3);
    Grid1->setFixedCols(1);
    Grid1->setFont(pageGridFont());
    body->addWidget(Grid1, 1);
    connect(Grid1, &FlexGrid::KeyPress, this, &frmAppt::Grid1_KeyPress);
    connect(Grid1, &FlexGrid::Click, this, &frmAppt::Grid1_Click);
    connect(Grid1, &FlexGrid::Scroll, this, &frmAppt::Grid1_Scroll);
    connect(Grid1, &FlexGrid::GotFocus, this, [this] {
        Frame2->hide();
        emit gridFocused();
    });

    // The side column: the calendar, the date, the status, Today and the memos. Narrow
    // enough that four providers fit beside it in the window's width.
    auto* sideWidget = new QWidget(this);
    sideWidget->setFixedWidth(212);
    auto* side = new QVBoxLayout(sideWidget);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(4);
    body->addWidget(sideWidget);
    calendarSlot_ = new QWidget(this);
    auto* slotLayout = new QVBoxLayout(calendarSlot_);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    side->addWidget(calendarSlot_);

    QFont captionFont(QStringLiteral("Arial"), 10);
    captionFont.setBold(true);
    lblCalDate = new QLabel(this);
    lblCalDate->setObjectName(QStringLiteral("lblCalDate"));
    lblCalDate->setFont(captionFont);
    lblCalDate->setAlignment(Qt::AlignCenter);
    lblCalDay = new QLabel(this);
    lblCalDay->setObjectName(QStringLiteral("lblCalDay"));
    lblCalDay->setFont(captionFont);
    lblCalDay->setAlignment(Qt::AlignCenter);
    side->addWidget(lblCalDate);
    side->addWidget(lblCalDay);

    lblOtherDesk = new QLabel(tr("Changed on another desk: your next store merges"), this);
    lblOtherDesk->setObjectName(QStringLiteral("lblOtherDesk"));
    lblOtherDesk->setAccessibleName(lblOtherDesk->text());
    lblOtherDesk->setWordWrap(true);
    lblOtherDesk->setAlignment(Qt::AlignCenter);
    QPalette op = lblOtherDesk->palette();
    op.setColor(QPalette::WindowText, colours::LightRed.darker(180));
    lblOtherDesk->setPalette(op);
    lblOtherDesk->hide();
    side->addWidget(lblOtherDesk);

    statusList = new QComboBox(this);
    statusList->setObjectName(QStringLiteral("Combo"));
    statusList->setProperty("index", 0);
    statusList->setAccessibleName(tr("Status"));
    side->addWidget(statusList);

    auto* todayRow = new QHBoxLayout;
    cmdToday = new QPushButton(tr("&Today"), this);
    cmdToday->setObjectName(QStringLiteral("cmdToday"));
    lblToday = new QLabel(tr("Esc", "the key that goes to today"), this);
    lblToday->setObjectName(QStringLiteral("lblToday"));
    todayRow->addWidget(cmdToday, 1);
    todayRow->addWidget(lblToday);
    side->addLayout(todayRow);
    connect(cmdToday, &QPushButton::clicked, this, &frmAppt::cmdToday_Click);

    memoArea = new QVBoxLayout;
    side->addLayout(memoArea, 1);
    lblDailyMemo = new QLabel(tr("Daily Memo"), this);
    lblDailyMemo->setObjectName(QStringLiteral("lblDailyMemo"));
    TxtMemo = new QPlainTextEdit(this);
    TxtMemo->setObjectName(QStringLiteral("TxtMemo"));
    TxtMemo->setAccessibleName(tr("Daily Memo"));
    TxtMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    colours::paint(TxtMemo, colours::PanelGrey);
    memoArea->addWidget(lblDailyMemo);
    memoArea->addWidget(TxtMemo, 1);

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setAccessibleName(tr("Search"));
    colours::paint(Frame2, colours::PanelGrey);
    Frame2->hide();
    side->addWidget(Frame2);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setAccessibleName(tr("Closed"));
    Check1->hide();

    // The key legend along the bottom, with the page lock in the gap after "F3".
    const QString kLegend = legend();
    lblFunctionKeys = new QLabel(kLegend, this);
    lblFunctionKeys->setObjectName(QStringLiteral("lblFunctionKeys"));
    lblFunctionKeys->setAccessibleName(tr("Function keys"));
    QFont legendFont(QStringLiteral("Arial"), 8);
    legendFont.setBold(true);
    lblFunctionKeys->setFont(legendFont);
    QPalette lp = lblFunctionKeys->palette();
    lp.setColor(QPalette::Window, colours::LegendGrey);
    lp.setColor(QPalette::WindowText, colours::Yellow);
    lblFunctionKeys->setPalette(lp);
    lblFunctionKeys->setAutoFillBackground(true);
    lblFunctionKeys->setMinimumHeight(24);
    root->addWidget(lblFunctionKeys);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(tr("Status line"));
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblStatus->hide();
    root->addWidget(lblStatus);

    Check2 = new QCheckBox(tr("Page Lock"), lblFunctionKeys);
    Check2->setObjectName(QStringLiteral("Check2"));
    QFont lockFont(QStringLiteral("Arial"), 7);
    lockFont.setBold(true);
    Check2->setFont(lockFont);
    QPalette cp = Check2->palette();
    cp.setColor(QPalette::WindowText, colours::Yellow);
    Check2->setPalette(cp);
    colours::paint(Check2, colours::LegendGrey);
    Check2->move(QFontMetrics(legendFont).horizontalAdvance(kLegend.left(kLegend.indexOf(QLatin1String("F3")) + 3)), 2);
    connect(Check2, &QCheckBox::clicked, this, &frmAppt::Check2_Click);

    // The cell editor of every grid; here Tab in it goes on to the calendar.
    editor_ = new CellEditor(Grid1);
    editor_->setParent(this);
    editor_->onTab = [this](QKeyEvent*) {
        hideEditor();
        if (QWidget* w = calendar_->focusWidget())
            w->setFocus();
    };
    txtEdit = editor_->txtEdit();
    Check2->installEventFilter(this);
}

void frmAppt::setCalendar(DayCalendar* calendar, QWidget* widget)
{
    calendar_ = calendar;
    calendarSlot_->layout()->addWidget(widget);
}

QAction* frmAppt::addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> run)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

void frmAppt::addKeyHandler(std::function<bool(int, int)> handler)
{
    keyHandlers_.push_back(std::move(handler));
}

void frmAppt::addSaver(std::function<void()> save)
{
    savers_.push_back(std::move(save));
}

void frmAppt::Form_KeyDown(int& keyCode, int shift)
{
    for (const auto& handler : keyHandlers_)
        if (handler(keyCode, shift)) {
            keyCode = 0;
            return;
        }
    switch (keyCode) {
    case keys::Escape: {
        // Esc presses the Today button, unless a list is dropped down.
        if (QApplication::activePopupWidget())
            return;
        cmdToday_Click();
        keyCode = 0;
        return;
    }
    case keys::F12:
        LeavePageScreen();
        keyCode = 0;
        return;
    default:
        return;
    }
}

// The cell editor ----------------------------------------------------------------------

bool frmAppt::editorOpen() const
{
    return editor_->isOpen();
}

void frmAppt::hideEditor()
{
    editor_->hide();
}

void frmAppt::Grid1_KeyPress(int& keyAscii)
{
    if (keyAscii == 9) {
        keyAscii = 0;
        if (QWidget* w = calendar_->focusWidget())
            w->setFocus();
        return;
    }
    editor_->open(keyAscii);
    EditRow = editor_->EditRow;
    EditCol = editor_->EditCol;
}

void frmAppt::Grid1_Click()
{
    hideEditor();
    emit gridClicked();
}

void frmAppt::Grid1_Scroll()
{
    hideEditor();
}

bool frmAppt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Check2 && event->type() == QEvent::KeyPress
        && keys::keyAscii(static_cast<QKeyEvent*>(event)) == 13) {
        Check2_Click();
        return true;
    }
    return Form::eventFilter(watched, event);
}

// Reading the page again ---------------------------------------------------------------
