#include "setup/frmSetup.h"

#include "app/layoutvars.h"
#include "app/screens.h"
#include "page/CellEditor.h"
#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/paintlock.h"
#include "platform/programfolder.h"
#include "platform/twips.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/settings.h"
#include "storage/setupstore.h"
#include "storage/storedtime.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

using storage::StorageError;

namespace {

QString title()
{
    return frmSetup::tr("Set-up Page");
}
constexpr int MaxProviders = 16;

// Turns every character typed or pasted into upper case.
class UpperCaseValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// Two digits, as the stored time has them at fixed places.
QString twoDigits(const QString& text)
{
    return text.rightJustified(2, u'0');
}

}  // namespace

frmSetup::frmSetup()
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(title());
    buildControls();
}

frmSetup::~frmSetup()
{
    closing_ = true;
    // The controls go first, while the connection is still open.
    while (!children().isEmpty())
        delete children().constFirst();
}

void frmSetup::buildControls()
{
    QFont questionFont(QStringLiteral("Arial"), 9);
    questionFont.setBold(true);
    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        l->setFont(questionFont);
        return l;
    };
    auto heading = [&](const char* name, const QString& text) {
        QLabel* l = label(name, text);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        return l;
    };
    auto box = [&](const char* name, int maxLength, QValidator* validator, const QString& accessible) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(accessible);
        b->setFont(questionFont);
        if (maxLength > 0) {
            b->setMaxLength(maxLength);
            b->setAlignment(Qt::AlignCenter);
            b->setFixedWidth(QFontMetrics(questionFont).horizontalAdvance(QStringLiteral("0000")) + 8);
        }
        if (validator) {
            validator->setParent(b);
            b->setValidator(validator);
        }
        connect(b, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
        b->installEventFilter(this);
        return b;
    };
    auto digits = [](int n) {
        return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(n)));
    };

    Label1 = label("Label1", tr("Please supply the following information to customize the application:"));
    QFont titleFont(QStringLiteral("Arial"), 11);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    Label2 = label("Label2", tr("1.  How would you describe your service location?           "
                                            "(e.g. Clinic, Office, Center, Agency)"));
    Text1 = box("Text1", 0, nullptr, tr("Service location"));
    Label3 = label("Label3", tr("2. Time for first appointment  (e.g. 07:30 AM, 08:00 AM ):"));
    Label8 = heading("Label8", tr("Hr", "hours"));
    Label11 = heading("Label11", tr("Min", "minutes"));
    Label12 = heading("Label12", QStringLiteral("AM"));
    txtHrO = box("txtHrO", 2, digits(2), tr("First appointment, hour"));
    txtMinO = box("txtMinO", 2, digits(2), tr("First appointment, minutes"));
    txtAM = box("txtAM", 2, new UpperCaseValidator, tr("First appointment, AM or PM"));
    lblOpen = label("lblOpen", QStringLiteral("08:00AM"));
    Label4 = label("Label4", tr("3. Time for last appointment (e.g. 05:00 PM, 05:30 PM)"));
    Label13 = heading("Label13", tr("Hr", "hours"));
    Label14 = heading("Label14", tr("Min", "minutes"));
    Label15 = heading("Label15", QStringLiteral("PM"));
    txtHrC = box("txtHrC", 2, digits(2), tr("Last appointment, hour"));
    txtMinC = box("txtMinC", 2, digits(2), tr("Last appointment, minutes"));
    txtPM = box("txtPM", 2, new UpperCaseValidator, tr("Last appointment, AM or PM"));
    lblClose = label("lblClose", QStringLiteral("05:00PM"));
    Label5 = label("Label5", tr("4.  Time alloted for each appointment in minutes:                "
                                            "(Range: 10 to 240 )"));
    Text4 = box("Text4", 3, digits(3), tr("Minutes for each appointment"));
    Label6[0] = label("Label6", tr("5.  Number of service providers: ( Range: 1 to 16 )"));
    Label6[1] = label("Label6", tr("6.  Please type in names of service locations and service personnel:-"));
    for (int i = 0; i < 2; ++i)
        Label6[i]->setProperty("index", i);
    Text5 = box("Text5", 2, digits(2), tr("Number of service providers"));
    for (QLabel* time : {lblOpen, lblClose}) {
        time->setAccessibleName(time == lblOpen ? tr("First appointment") : tr("Last appointment"));
        time->setMinimumWidth(QFontMetrics(questionFont).horizontalAdvance(QStringLiteral("00:00 AM")) + 12);
    }

    Grid1 = new FlexGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(tr("Service sites and names of the providers"));
    Grid1->setFont(pageGridFont());
    Grid1->setFixedCols(0);
    Grid1->setFixedRows(1);
    Grid1->setRows(3);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grid1->setBackColor(Qt::white);
    Grid1->setBackColorSel(Qt::white);
    const int frame = 2 * Grid1->frameWidth();
    Grid1->setFixedSize(twips::toPixels(7800) + frame + 2,
                        3 * twips::toPixels(Grid1->RowHeight()) + frame + Grid1->horizontalScrollBar()->sizeHint().height() + 1);
    connect(Grid1, &FlexGrid::KeyPress, this, &frmSetup::Grid1_KeyPress);
    connect(Grid1, &FlexGrid::Click, this, [this] { editor_->hide(); });

    // A "%" would split the stored list and move every later provider; TAB and line breaks
    // have no place in a name either.
    editor_ = new CellEditor(Grid1);
    editor_->setRefused(QStringLiteral("%\t\r\n"));
    txtEdit = editor_->txtEdit();

    txtSites = new QLineEdit(this);
    txtSites->setObjectName(QStringLiteral("txtSites"));
    txtSites->setMaxLength(std::numeric_limits<int>::max());
    txtSites->hide();
    txtNames = new QLineEdit(this);
    txtNames->setObjectName(QStringLiteral("txtNames"));
    txtNames->setMaxLength(std::numeric_limits<int>::max());
    txtNames->hide();

    CmdOkay = new QPushButton(tr("Okay"), this);
    CmdOkay->setObjectName(QStringLiteral("CmdOkay"));
    CmdReset = new QPushButton(tr("Reset"), this);
    CmdReset->setObjectName(QStringLiteral("CmdReset"));
    for (QPushButton* b : {CmdOkay, CmdReset}) {
        b->setFont(questionFont);
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
        b->installEventFilter(this);
    }
    connect(CmdOkay, &QPushButton::clicked, this, &frmSetup::CmdOkay_Click);
    connect(CmdReset, &QPushButton::clicked, this, &frmSetup::CmdReset_Click);

    // The questions down the left, their answers in one column on the right.
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(18, 14, 18, 14);
    root->setSpacing(10);
    root->addWidget(Label1);

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    form->setColumnStretch(0, 1);
    form->setColumnMinimumWidth(0, 20);
    int row = 0;
    form->addWidget(Label2, row, 0);
    form->addWidget(Text1, row, 1, 1, 4);
    ++row;
    form->setRowMinimumHeight(row++, 4);
    form->addWidget(Label8, row, 1);
    form->addWidget(Label11, row, 2);
    form->addWidget(Label12, row, 3);
    ++row;
    form->addWidget(Label3, row, 0);
    form->addWidget(txtHrO, row, 1);
    form->addWidget(txtMinO, row, 2);
    form->addWidget(txtAM, row, 3);
    form->addWidget(lblOpen, row, 4);
    ++row;
    form->addWidget(Label13, row, 1);
    form->addWidget(Label14, row, 2);
    form->addWidget(Label15, row, 3);
    ++row;
    form->addWidget(Label4, row, 0);
    form->addWidget(txtHrC, row, 1);
    form->addWidget(txtMinC, row, 2);
    form->addWidget(txtPM, row, 3);
    form->addWidget(lblClose, row, 4);
    ++row;
    form->setRowMinimumHeight(row++, 6);
    form->addWidget(Label5, row, 0);
    form->addWidget(Text4, row, 1);
    ++row;
    form->setRowMinimumHeight(row++, 6);
    form->addWidget(Label6[0], row, 0);
    form->addWidget(Text5, row, 1);
    root->addLayout(form);

    root->addSpacing(6);
    root->addWidget(Label6[1]);
    root->addWidget(Grid1, 0, Qt::AlignLeft);
    root->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOkay);
    buttons->addSpacing(16);
    buttons->addWidget(CmdReset);
    buttons->addStretch(1);
    root->addLayout(buttons);

    setTabOrder(Text1, txtHrO);
    setTabOrder(txtHrO, txtMinO);
    setTabOrder(txtMinO, txtAM);
    setTabOrder(txtAM, txtHrC);
    setTabOrder(txtHrC, txtMinC);
    setTabOrder(txtMinC, txtPM);
    setTabOrder(txtPM, Text4);
    setTabOrder(Text4, Text5);
    setTabOrder(Text5, Grid1);
    setTabOrder(Grid1, CmdOkay);
    setTabOrder(CmdOkay, CmdReset);
}

void frmSetup::report(const QString& message)
{
    dialogs::message(this, message, title(), dialogs::Buttons::Ok, dialogs::Icon::Critical);
}

bool frmSetup::Form_Load()
{
    storage::Settings settings;
    try {
        db_ = std::make_unique<storage::Database>(program::bookLocation());
        settings = storage::readSettings(*db_);
        settingsVersion_ = settings.version;
    } catch (const StorageError& e) {
        report(e.message());
        return false;
    }
    const storage::Layout& l = settings.layout;
    Text1->setText(l.location);
    showStoredTime(l.open, txtHrO, txtMinO, txtAM);
    showStoredTime(l.close, txtHrC, txtMinC, txtPM);
    lblOpen->setText(l.open);
    lblClose->setText(l.close);
    Text4->setText(l.missing.contains(QStringLiteral("timeslot")) ? QString() : QString::number(l.timeslot));
    showStoredCount(l);
    ProviderCount = Text5->text().toInt();
    fillProviderGrid(ProviderCount, l);

    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(760, 0)));
    centreOnScreen();
    Text1->setFocus();
    return true;
}

void frmSetup::showStoredTime(const QString& stored, QLineEdit* hour, QLineEdit* minutes, QLineEdit* marker)
{
    // Hour, minutes and AM/PM stand at characters 1-2, 4-5 and 7-8 of the stored form; a time
    // stored in another form is shown in this one.
    static const QRegularExpression canonical(QStringLiteral("^\\d\\d:\\d\\d [AP]M$"));
    QString text = stored;
    if (!canonical.match(text).hasMatch()) {
        const std::optional<QTime> time = storedtime::parse(text);
        text = time ? storedtime::format(*time) : QString();
    }
    hour->setText(text.mid(0, 2));
    minutes->setText(text.mid(3, 2));
    marker->setText(text.mid(6, 2));
}

void frmSetup::showStoredCount(const storage::Layout& l)
{
    if (l.missing.contains(QStringLiteral("Listno"))) {
        Text5->setText(QString());
        return;
    }
    const int count = std::clamp(l.listno, 1, MaxProviders);
    Text5->setText(QString::number(count));
    if (count != l.listno)
        dialogs::message(this,
                         tr("The stored number of service providers, %1, is out of range (1 to %2). "
                                        "The page shows %3 instead; Okay stores that number.")
                             .arg(l.listno)
                             .arg(MaxProviders)
                             .arg(count),
                         title(), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
}

std::optional<storage::Settings> frmSetup::readStoredSettings(const QString& consequence)
{
    try {
        return storage::readSettings(*db_);
    } catch (const StorageError& e) {
        listsUnread_ = true;
        report(tr("%1\n\n%2 Okay stores nothing until the stored settings can be read again.")
                   .arg(e.message(), consequence));
        return std::nullopt;
    }
}

bool frmSetup::BuildProviderGrid(int count)
{
    // The lists as stored in the settings row, not as shown in the boxes. A read that fails
    // (another program holding the file for longer than the wait) must not blank the grid:
    // Okay would store the blanks over the stored names.
    const std::optional<storage::Settings> settings =
        readStoredSettings(tr("The sites and names stay as they are shown."));
    if (!settings)
        return false;
    fillProviderGrid(count, settings->layout);
    return true;
}

void frmSetup::fillProviderGrid(int count, const storage::Layout& stored)
{
    listsUnread_ = false;
    count = std::max(count, 0);
    PaintLock lock(Grid1);
    editor_->hide();
    Grid1->setCols(count);
    if (count >= 1) {
        const int width = count == 1 ? 7800 : count == 2 ? 3850 : count == 3 ? 2550 : 1940;
        for (int c = 0; c < count; ++c)
            Grid1->setColWidth(c, width);
    }
    SharedLayout.SitesText = stored.sites;
    SharedLayout.NamesText = stored.names;
    SplitList(SharedLayout.SitesText, SharedLayout.SiteList);
    SplitList(SharedLayout.NamesText, SharedLayout.NameList);
    for (QStringList* list : {&SharedLayout.SiteList, &SharedLayout.NameList})
        list->resize(count + 1);
    for (int c = 0; c < count; ++c) {
        Grid1->setRow(0);
        Grid1->setCol(c);
        Grid1->setText(QString::number(c + 1));
        Grid1->setCellAlignment(4);
        Grid1->setRow(1);
        Grid1->setText(SharedLayout.SiteList[c + 1]);
        Grid1->setCellAlignment(1);
        Grid1->setRow(2);
        Grid1->setText(SharedLayout.NameList[c + 1]);
        Grid1->setCellAlignment(1);
    }
    if (count >= 1) {
        Grid1->setRow(1);
        Grid1->setCol(0);
    }
}

bool frmSetup::Text5_Enter(bool focusGrid)
{
    if (Text5->text().isEmpty() || laying_)
        return false;
    laying_ = true;
    const int count = std::clamp(Text5->text().toInt(), 1, MaxProviders);
    // What was typed into the sites and names and not yet stored stays in the columns that
    // remain; only Reset goes back to the stored lists.
    QStringList sites, names;
    for (int c = 0; c < Grid1->Cols(); ++c) {
        sites << Grid1->TextMatrix(1, c);
        names << Grid1->TextMatrix(2, c);
    }
    if (!BuildProviderGrid(count)) {
        laying_ = false;
        return false;
    }
    ProviderCount = count;
    for (int c = 0; c < std::min<int>(count, sites.size()); ++c) {
        Grid1->setTextMatrix(1, c, sites[c]);
        Grid1->setTextMatrix(2, c, names[c]);
    }
    Grid1->setRow(1);
    Grid1->setCol(0);
    Grid1->setLeftCol(0);
    if (focusGrid)
        Grid1->setFocus();
    laying_ = false;
    return true;
}

bool frmSetup::LostFocus(QLineEdit* box)
{
    const auto inRange = [&](int low, int high) {
        bool ok = false;
        const int value = box->text().toInt(&ok);
        return ok && value >= low && value <= high;
    };
    if (box == txtHrO || box == txtHrC || box == txtMinO || box == txtMinC) {
        if (box->text().size() < 2)
            box->setText(QLatin1Char('0') + box->text());
        // Minutes end at 59: a 60 would make no time of day.
        return box == txtHrO || box == txtHrC ? inRange(0, 12) : inRange(0, 59);
    }
    if (box == txtAM || box == txtPM) {
        if (box->text() != QLatin1String("AM") && box->text() != QLatin1String("PM"))
            box->setText(box == txtAM ? QStringLiteral("AM") : QStringLiteral("PM"));
        return true;
    }
    if (box == Text4)
        return inRange(10, 240);
    if (box == Text5) {
        const int value = Text5->text().toInt();
        if (value < 1)
            Text5->setText(QStringLiteral("1"));
        else if (value > MaxProviders)
            Text5->setText(QString::number(MaxProviders));
        // Leaving the box always lays the grid out for the count; the focus goes where the
        // user sent it.
        Text5_Enter(false);
        return true;
    }
    return true;
}

bool frmSetup::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    struct Moves {
        QLineEdit* box;
        QWidget* up;
        QWidget* down;
        QWidget* enter;
    };
    const Moves moves[] = {
        {Text1, nullptr, txtHrO, txtHrO},  {txtHrO, Text1, txtHrC, txtMinO}, {txtMinO, Text1, txtMinC, txtAM},
        {txtAM, Text1, txtPM, txtHrC},     {txtHrC, txtHrO, Text4, txtMinC}, {txtMinC, txtMinO, Text4, txtPM},
        {txtPM, txtAM, Text4, Text4},      {Text4, txtHrC, Text5, Text5},    {Text5, Text4, Grid1, nullptr},
    };
    for (const Moves& m : moves) {
        if (m.box != box)
            continue;
        // The box gone to is selected whole, as Tab would, so that typing replaces its answer.
        const auto moveTo = [](QWidget* target) {
            target->setFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(target); edit && edit->hasFocus())
                edit->selectAll();
        };
        switch (keys::keyCode(event)) {
        case keys::Up:
            if (m.up)
                moveTo(m.up);
            return true;
        case keys::Down:
            if (box == Text5)
                Text5_Enter(true);
            else
                moveTo(m.down);
            return true;
        case keys::Enter:
            // An empty box keeps the focus.
            if (box->text().isEmpty())
                return true;
            if (box == Text5)
                Text5_Enter(true);
            else
                moveTo(m.enter);
            return true;
        default:
            return false;
        }
    }
    return false;
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && box != txtEdit) {
        if (event->type() == QEvent::KeyPress)
            return boxKeyPress(box, static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Another window coming to the front, or a menu opening, is not leaving the box.
            if (closing_ || checking_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
            if (!LostFocus(box)) {
                checking_ = true;
                box->setFocus();
                checking_ = false;
            }
        }
        return false;
    }
    if ((watched == CmdOkay || watched == CmdReset) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (keys::keyCode(key) == keys::Up) {
            Text5->setFocus();
            Text5->selectAll();
            return true;
        }
        if (keys::keyCode(key) == keys::Enter) {
            if (watched == CmdOkay)
                CmdOkay_Click();
            else
                CmdReset_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmSetup::Grid1_KeyPress(int& keyAscii)
{
    if (keyAscii == 9) {
        keyAscii = 0;
        CmdOkay->setFocus();
        return;
    }
    if (Grid1->Cols() < 1)
        return;
    editor_->open(keyAscii);
}

void frmSetup::CmdReset_Click()
{
    // The count and the lists go back to the stored ones, not to fixed values. Without them
    // nothing is reset: the page stays as the user sees it.
    const std::optional<storage::Settings> stored = readStoredSettings(tr("Nothing was reset."));
    if (!stored)
        return;
    const storage::Settings& settings = *stored;
    Text1->setText(tr("Office"));
    txtHrO->setText(QStringLiteral("08"));
    txtMinO->setText(QStringLiteral("00"));
    txtAM->setText(QStringLiteral("AM"));
    txtHrC->setText(QStringLiteral("05"));
    txtMinC->setText(QStringLiteral("00"));
    txtPM->setText(QStringLiteral("PM"));
    Text4->setText(QStringLiteral("30"));
    showStoredCount(settings.layout);
    ProviderCount = Text5->text().toInt();
    fillProviderGrid(ProviderCount, settings.layout);
    checking_ = true;  // the boxes hold good values now; no check on the way to Text1
    Text1->setFocus();
    checking_ = false;
}

void frmSetup::CmdOkay_Click()
{
    editor_->hide();
    // The boxes are checked as on leaving them: a value out of range keeps the focus there.
    for (QLineEdit* box : {txtHrO, txtMinO, txtAM, txtHrC, txtMinC, txtPM, Text4}) {
        if (!LostFocus(box)) {
            QApplication::beep();
            checking_ = true;
            box->setFocus();
            box->selectAll();
            checking_ = false;
            return;
        }
    }
    const int typed = std::clamp(Text5->text().toInt(), 1, MaxProviders);
    if (typed != Text5->text().toInt())
        Text5->setText(QString::number(typed));
    // The grid is laid out for the count, and from lists that were read: after a failed read
    // it is read again here, and Okay stops if that fails too (the user was told).
    if ((listsUnread_ || typed != ProviderCount || Grid1->Cols() != typed) && !Text5_Enter(false))
        return;

    SharedLayout.SitesText.clear();
    SharedLayout.NamesText.clear();
    for (int c = 0; c < ProviderCount; ++c) {
        SharedLayout.SitesText += Grid1->TextMatrix(1, c) + u'%';
        SharedLayout.NamesText += Grid1->TextMatrix(2, c) + u'%';
    }
    txtSites->setText(SharedLayout.SitesText);
    txtNames->setText(SharedLayout.NamesText);

    lblOpen->setText(twoDigits(txtHrO->text()) + u':' + twoDigits(txtMinO->text()) + u' ' + txtAM->text());
    lblClose->setText(twoDigits(txtHrC->text()) + u':' + twoDigits(txtMinC->text()) + u' ' + txtPM->text());
    const std::optional<QTime> open = storedtime::parse(lblOpen->text());
    const std::optional<QTime> close = storedtime::parse(lblClose->text());
    if (!open || !close || *open > *close) {
        dialogs::message(this, tr("Closing time earlier than Opening time!"),
                         tr("Time Setting Error"), dialogs::Buttons::Ok);
        checking_ = true;
        txtHrC->setFocus();
        checking_ = false;
        return;
    }

    storage::Layout layout;
    layout.location = Text1->text();
    layout.open = lblOpen->text();
    layout.close = lblClose->text();
    layout.timeslot = Text4->text().toInt();
    layout.listno = ProviderCount;
    layout.sites = txtSites->text();
    layout.names = txtNames->text();
    // The day page is closed first, so that what it holds is stored before the pages are
    // counted and rewritten, and so that it is built anew from the new settings. A page it
    // cannot store keeps it open if the user says so; then nothing is stored here.
    screens::unload(Screen::Appt);
    if (screens::loaded(Screen::Appt)) {
        report(tr("The settings were not stored: the day page is still open with a page "
                              "that could not be stored. Store or discard that page, then press Okay again."));
        return;
    }

    const QDate today = program::today();
    try {
        // Cells are positional: under another first time or slot length, what is typed on
        // the pages of today and later stands at other times. The user decides first.
        const storage::Settings stored = storage::readSettings(*db_);
        const std::optional<QTime> storedOpen = storedtime::parse(stored.layout.open);
        if (storedOpen != open || stored.layout.timeslot != layout.timeslot) {
            const int pages = storage::pagesWithOwnEntries(*db_, today);
            if (pages > 0) {
                const QString text =
                    tr("%n stored page(s) from today on hold(s) entries of its/their own. With the new "
                       "time of the first appointment or the new slot length, its/their entries "
                       "will stand at other times.\n\nDo you wish to store the new settings?",
                       nullptr, pages);
                if (dialogs::message(this, text, tr("Appointments Will Move"), dialogs::Buttons::YesNo,
                                     dialogs::Icon::Exclamation)
                    != dialogs::Answer::Yes)
                    return;
            }
        }
        settingsVersion_ = storage::storeSetup(*db_, layout, today, settingsVersion_);
    } catch (const StorageError& e) {
        // Nothing was stored: the settings row and the pages are as they were.
        report(e.message());
        return;
    }

    // An open template editor holds a grid of the old layout: it is built anew as well.
    screens::unload(Screen::Configure);
    const bool templates =
        dialogs::message(this, tr("Do you wish to configure page templates for each day of the week?"),
                         tr("Configure Page Template"), dialogs::Buttons::YesNo)
        == dialogs::Answer::Yes;
    // A screen that cannot open (its message said why) hands over to the menu.
    if (!screens::show(templates ? Screen::Configure : Screen::Appt))
        screens::show(Screen::Menu);
    closing_ = true;
    Unload();
}

void frmSetup::Form_QueryUnload(bool&, UnloadMode mode)
{
    closing_ = true;
    // Closed by the user: nothing is stored, whatever was typed.
    if (mode == ByUser)
        screens::show(Screen::Menu);
}
