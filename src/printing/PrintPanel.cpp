#include "printing/PrintPanel.h"

#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "printing/QPrinterTarget.h"
#include "printing/schedule.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

PrintPanel::PrintPanel(frmAppt& form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("PrintPanel"));
    Frame3 = new QFrame(&form);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setFrameShape(QFrame::StyledPanel);
    Frame3->setAccessibleName(tr("Print panel"));
    colours::paint(Frame3, colours::PanelGrey);

    Option1 = new QRadioButton(tr("Print All"), Frame3);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setChecked(true);
    Option2 = new QRadioButton(tr("Print Column No. ( Range 1 to 16 )"), Frame3);
    Option2->setObjectName(QStringLiteral("Option2"));
    txtPrint = new QLineEdit(Frame3);
    txtPrint->setObjectName(QStringLiteral("txtPrint"));
    txtPrint->setAccessibleName(tr("Column number"));
    txtPrint->setMaximumWidth(48);
    // Pasted text obeys the same rule as typed text: digits only.
    txtPrint->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtPrint));
    Label3 = new QLabel(tr("Press  F11  to print"), Frame3);
    Label3->setObjectName(QStringLiteral("Label3"));
    cmdClosePrint = new QPushButton(tr("Close"), Frame3);
    cmdClosePrint->setObjectName(QStringLiteral("cmdClosePrint"));
    // Alt+V belongs to the Navigate menu (each language keeps its letter free of the page's).
    cmdPreview = new QPushButton(tr("P&review"), Frame3);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));

    auto* grid = new QGridLayout(Frame3);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setVerticalSpacing(3);
    grid->addWidget(Option1, 0, 0, 1, 2);
    grid->addWidget(Option2, 1, 0, 1, 2);
    grid->addWidget(txtPrint, 2, 0);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(cmdClosePrint, 3, 0);
    grid->addWidget(cmdPreview, 3, 1);
    grid->setColumnStretch(1, 1);

    QWidget::setTabOrder(Option1, Option2);
    QWidget::setTabOrder(Option2, txtPrint);
    QWidget::setTabOrder(txtPrint, cmdClosePrint);
    QWidget::setTabOrder(cmdClosePrint, cmdPreview);

    form.memoArea->addWidget(Frame3);
    Frame3->hide();

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(cmdClosePrint, &QPushButton::clicked, this, &PrintPanel::cmdClosePrint_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &PrintPanel::cmdPreview_Click);
    for (QWidget* w : {static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2),
                       static_cast<QWidget*>(txtPrint), static_cast<QWidget*>(cmdClosePrint),
                       static_cast<QWidget*>(cmdPreview)})
        w->installEventFilter(this);

    // "Print" stands in the Page menu after "Open", before the separator.
    QAction* print = form.addCommand(form.mnuPage, "mnuPagePrint", tr("Print"), [this] { ShowPrintPanel(); });
    for (QAction* a : form.mnuPage->actions())
        if (a->objectName() == QLatin1String("Separator2")) {
            form.mnuPage->removeAction(print);
            form.mnuPage->insertAction(a, print);
            break;
        }

    form.addKeyHandler([this](int keyCode, int shift) { return handleKey(keyCode, shift); });
}

bool PrintPanel::handleKey(int keyCode, int shift)
{
    if (keyCode != keys::F11 || shift != 0)
        return false;
    if (Frame3->isHidden())
        ShowPrintPanel();
    else
        StartPrint();
    return true;
}

int PrintPanel::columnCount() const
{
    return form_.LastCol;
}

void PrintPanel::ShowPrintPanel()
{
    Frame3->show();
    Option2->setText(tr("Print Column No. ( 1 to %1 )").arg(columnCount()));
    Option1->setFocus();
    Option1_Click();
}

void PrintPanel::Option1_Click()
{
    if (Option1->isChecked()) {
        txtPrint->clear();
        txtPrint->setReadOnly(true);
    } else {
        txtPrint->setReadOnly(false);
    }
}

void PrintPanel::Option2_Click()
{
    txtPrint->setReadOnly(!Option2->isChecked());
}

void PrintPanel::flip(QRadioButton* option)
{
    if (!option->isChecked()) {
        option->setChecked(true);
        return;
    }
    // An exclusive option cannot be unselected directly: it leaves the group for a moment.
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

void PrintPanel::txtPrint_LostFocus()
{
    const QString text = txtPrint->text();
    if (text.isEmpty())
        return;
    bool whole = false;
    const qulonglong number = text.toULongLong(&whole);
    if (whole && number < 1)
        txtPrint->setText(QStringLiteral("1"));
    // A number too long to be held is above N as well.
    const int n = columnCount();
    if (!whole || number > qulonglong(std::max(n, 0)))
        txtPrint->setText(QString::number(n));
}

std::optional<std::pair<int, int>> PrintPanel::chosenColumns()
{
    if (Option1->isChecked()) {
        Option2->setChecked(false);
        return std::pair{1, columnCount()};
    }
    if (txtPrint->text().isEmpty()) {
        Option2->setChecked(true);
        txtPrint->setFocus();
        return std::nullopt;
    }
    Option2->setChecked(true);
    // F11 may come while the number is still being typed: it is brought into range first.
    txtPrint_LostFocus();
    const int k = txtPrint->text().toInt();
    return std::pair{k, k};
}

void PrintPanel::StartPrint()
{
    if (columnCount() < 1)
        return;
    if (const auto columns = chosenColumns())
        PrintSchedule(columns->first, columns->second);
}

ScheduleCaptions PrintPanel::captions() const
{
    return {form_.lblCalDay->text(), form_.lblCalDate->text()};
}

QString PrintPanel::documentName() const
{
    // The preview offers it as the PDF file's name, so it holds no slashes of a short date.
    return tr("Appointment Schedule %1").arg(form_.CalDateShown.toString(Qt::ISODate));
}

std::unique_ptr<PrintTarget> PrintPanel::systemPrinter() const
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinterTarget::setUp(*printer, documentName());
    QPrinterTarget::requireSystemPrinter(*printer);
    return std::make_unique<QPrinterTarget>(std::move(printer));
}

void PrintPanel::PrintSchedule(int first, int last)
{
    try {
        std::unique_ptr<PrintTarget> target = targetFactory_ ? targetFactory_() : systemPrinter();
        try {
            ::PrintSchedule(*target, *form_.Grid1, first, last, Option1->isChecked(), captions());
        } catch (const PrintError&) {
            // Nothing half-made reaches the printer.
            target->abort();
            throw;
        }
    } catch (const PrintError& e) {
        const dialogs::Answer answer =
            dialogs::message(&form_, tr("%1. Retry?").arg(e.description()), dialogs::appTitle(),
                             dialogs::Buttons::YesNo, dialogs::Icon::Question);
        if (answer == dialogs::Answer::Yes)
            ShowPrintPanel();
        return;
    }
    // The cells were read in order; the last one printed stays current.
    form_.Grid1->setRow(form_.Grid1->Rows() - 1);
    form_.Grid1->setCol(last);
}

void PrintPanel::cmdClosePrint_Click()
{
    Frame3->hide();
    // A heading or time cell never becomes current: before any cell was edited the grid
    // keeps its current cell.
    const bool dataCell = form_.EditRow >= 3 && form_.EditRow <= form_.LastRow && form_.EditCol >= 1
                          && form_.EditCol <= form_.LastCol;
    if (dataCell) {
        form_.Grid1->setRow(form_.EditRow);
        form_.Grid1->setCol(form_.EditCol);
    }
    form_.Grid1->setFocus();
}

void PrintPanel::cmdPreview_Click()
{
    if (columnCount() < 1)
        return;
    const auto columns = chosenColumns();
    if (!columns)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrinterTarget::setUp(printer, documentName());
    QPrintPreviewDialog dialog(&printer, &form_);
    dialog.setObjectName(QStringLiteral("previewDialog"));
    dialog.setWindowTitle(tr("Print Preview"));
    const bool all = Option1->isChecked();
    const ScheduleCaptions shown = captions();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        QPrinterTarget sheets(*target);
        try {
            ::PrintSchedule(sheets, *form_.Grid1, columns->first, columns->second, all, shown);
        } catch (const PrintError& e) {
            sheets.abort();
            dialogs::message(&dialog, e.description() + QLatin1Char('.'), dialogs::appTitle(),
                             dialogs::Buttons::Ok, dialogs::Icon::Critical);
        }
    });
    // A whole sheet in view where the screen has room for it.
    const QRect screen = form_.screen()->availableGeometry();
    dialog.resize(std::min(760, screen.width()), std::min(900, screen.height() - 40));
    dialog.exec();
}

bool PrintPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched == txtPrint) {
        txtPrint_LostFocus();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = keys::keyCode(key);
    const int ascii = keys::keyAscii(key);

    if (watched == Option1 || watched == Option2) {
        if (ascii == 13) {
            flip(static_cast<QRadioButton*>(watched));
            return true;
        }
        return false;
    }
    if (watched == cmdClosePrint || watched == cmdPreview) {
        // Enter presses a focused button, as Space does.
        if (ascii == 13) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
        return false;
    }
    if (watched != txtPrint)
        return false;

    const bool shifted = key->modifiers() & Qt::ShiftModifier;
    switch (code) {
    case keys::Tab:
        (shifted ? static_cast<QWidget*>(Option2) : cmdClosePrint)->setFocus();
        return true;
    case keys::Down:
    case keys::Right:
        cmdClosePrint->setFocus();
        return true;
    case keys::Left:
    case keys::Up:
        Option2->setFocus();
        return true;
    default:
        break;
    }
    if (ascii == 13) {
        if (!txtPrint->text().isEmpty())
            cmdClosePrint->setFocus();
        return true;
    }
    if (ascii == 8 || ascii == 0)
        return false;
    // Only digits reach the box.
    return ascii < '0' || ascii > '9';
}
