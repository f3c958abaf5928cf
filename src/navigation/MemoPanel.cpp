#include "navigation/MemoPanel.h"

#include "page/daycalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "platform/keys.h"
#include "storage/database.h"
#include "storage/settings.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MemoPanel::MemoPanel(frmAppt& form) : QObject(&form), form_(form)
{
    lblFixedMemo = new QLabel(tr("Fixed Memo"), &form);
    lblFixedMemo->setObjectName(QStringLiteral("lblFixedMemo"));
    TxtFixedMemo = new QPlainTextEdit(&form);
    TxtFixedMemo->setObjectName(QStringLiteral("TxtFixedMemo"));
    TxtFixedMemo->setAccessibleName(tr("Fixed Memo"));
    TxtFixedMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    form.memoArea->addWidget(lblFixedMemo);
    form.memoArea->addWidget(TxtFixedMemo, 1);
    lblFixedMemo->hide();
    TxtFixedMemo->hide();

    auto* row = new QHBoxLayout;
    cmdMemo = new QPushButton(tr("Fixed Memo"), &form);
    cmdMemo->setObjectName(QStringLiteral("cmdMemo"));
    cmdMemo->setFocusPolicy(Qt::NoFocus);
    txtBook = new QLineEdit(&form);
    txtBook->setObjectName(QStringLiteral("txtBook"));
    txtBook->setAccessibleName(tr("Book number"));
    QFont bookFont(QStringLiteral("Arial"), 9);
    bookFont.setBold(true);
    txtBook->setFont(bookFont);
    txtBook->setMaximumWidth(90);
    colours::paint(txtBook, colours::DarkGrey, colours::Cyan);
    row->addWidget(cmdMemo, 1);
    row->addWidget(txtBook);
    form.memoArea->addLayout(row);

    for (QPlainTextEdit* memo : {form.TxtMemo, TxtFixedMemo}) {
        colours::paint(memo, colours::PanelGrey);
        memo->installEventFilter(this);
    }
    txtBook->installEventFilter(this);
    connect(cmdMemo, &QPushButton::clicked, this, &MemoPanel::cmdMemo_Click);

    form.addCommand(form.mnuNavi, "mnuNaviMemo", tr("Memo\tF6"), [this] { cmdMemo_Click(); });
    form.addCommand(form.mnuNavi, "mnuNaviBook", tr("Book\tF7"), [this] { mnuNaviBook_Click(); });

    form.addKeyHandler([this](int keyCode, int shift) {
        if (shift != 0)
            return false;
        if (keyCode == keys::F6) {
            cmdMemo_Click();
            return true;
        }
        if (keyCode == keys::F7) {
            mnuNaviBook_Click();
            return true;
        }
        return false;
    });
    connect(&form, &frmAppt::loaded, this, &MemoPanel::load);
    // Leaving the page stores them with the page: a failure is the user's to decide on.
    form.addSaver([this] { storeOrThrow(); });
}

void MemoPanel::load()
{
    try {
        const storage::Settings settings = form_.readSettings();
        storedMemo_ = settings.fixedMemo;
        storedBook_ = settings.bookno;
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
    }
    TxtFixedMemo->setPlainText(storedMemo_);
    txtBook->setText(storedBook_);
}

void MemoPanel::storeOrThrow()
{
    const QString memo = TxtFixedMemo->toPlainText();
    const QString book = txtBook->text();
    if (memo == storedMemo_ && book == storedBook_)
        return;
    storage::writeMemoAndBook(form_.database(), memo, book);
    storedMemo_ = memo;
    storedBook_ = book;
}

void MemoPanel::store()
{
    try {
        storeOrThrow();
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
    }
}

void MemoPanel::cmdMemo_Click()
{
    // The caption names what the next press shows: the fixed memo while the daily one is shown.
    if (TxtFixedMemo->isVisibleTo(&form_)) {
        cmdMemo->setText(tr("Fixed Memo"));
        lblFixedMemo->hide();
        TxtFixedMemo->hide();
        form_.lblDailyMemo->show();
        form_.TxtMemo->show();
        form_.TxtMemo->setFocus();
    } else {
        cmdMemo->setText(tr("Daily Memo"));
        lblFixedMemo->show();
        TxtFixedMemo->show();
        form_.lblDailyMemo->hide();
        form_.TxtMemo->hide();
        TxtFixedMemo->setFocus();
    }
}

void MemoPanel::mnuNaviBook_Click()
{
    txtBook->setFocus();
}

bool MemoPanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool isMemo = watched == form_.TxtMemo || watched == TxtFixedMemo;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (isMemo)
            colours::paint(widget, colours::Cream);
        else if (watched == txtBook)
            colours::paint(txtBook, colours::Black, colours::Cyan);
        break;
    case QEvent::FocusOut:
        if (isMemo)
            colours::paint(widget, colours::LightGrey);
        else if (watched == txtBook)
            colours::paint(txtBook, colours::DarkGrey, colours::Cyan);
        // What was typed is kept at once, not only when the screen closes.
        if (watched == TxtFixedMemo || watched == txtBook)
            store();
        break;
    case QEvent::KeyPress: {
        const int code = keys::keyCode(static_cast<QKeyEvent*>(event));
        if (isMemo && code == keys::Tab) {
            // Tab leaves the memo as it was and moves to the calendar.
            form_.calendar()->focusWidget()->setFocus();
            return true;
        }
        if (watched == txtBook && (code == keys::Tab || code == keys::Enter)) {
            form_.hideEditor();
            form_.Grid1->setFocus();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
