#include "navigation/MemoPanel.h"

#include "page/daycalendar.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "page/frmConflicts.h"
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

#include <utility>

namespace {

// Stores lost again and again to other desks end in a message, never in a silent loop.
constexpr int kStoreAttempts = 5;

}  // namespace

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

bool MemoPanel::readStored()
{
    try {
        const storage::Settings settings = form_.readSettings();
        storedMemo_ = settings.fixedMemo;
        storedBook_ = settings.bookno;
        return true;
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        return false;
    }
}

void MemoPanel::load()
{
    readStored();
    TxtFixedMemo->setPlainText(storedMemo_);
    txtBook->setText(storedBook_);
}

void MemoPanel::refresh()
{
    const bool memoTyped = TxtFixedMemo->toPlainText() != storedMemo_;
    const bool bookTyped = txtBook->text() != storedBook_;
    if (!readStored())
        return;
    if (!memoTyped)
        TxtFixedMemo->setPlainText(storedMemo_);
    if (!bookTyped)
        txtBook->setText(storedBook_);
}

void MemoPanel::storeOrThrow()
{
    const storage::MemoAndBook read{storedMemo_, storedBook_};
    const storage::MemoAndBook typed{TxtFixedMemo->toPlainText(), txtBook->text()};
    if (typed == read)
        return;
    const storage::MemoAndBook now = storeAsking(
        form_,
        [this](const storage::MemoAndBook& read, const storage::MemoAndBook& typed) {
            return storage::storeMemoAndBook(form_.database(), read, typed);
        },
        read, typed);
    storedMemo_ = now.fixedMemo;
    storedBook_ = now.bookno;
    // A text another desk stored where nothing was typed here, or kept where the user chose
    // theirs, is shown.
    if (TxtFixedMemo->toPlainText() != now.fixedMemo)
        TxtFixedMemo->setPlainText(now.fixedMemo);
    if (txtBook->text() != now.bookno)
        txtBook->setText(now.bookno);
}

storage::MemoAndBook MemoPanel::storeAsking(frmAppt& form, const Store& store, storage::MemoAndBook read,
                                             storage::MemoAndBook typed)
{
    // Each of the two is stored only where it was changed here: another desk may have
    // stored the other meanwhile. Where it stored the same one differently, the user chooses
    // whose text stays, as for the daily memo.
    for (int attempt = 1;; ++attempt) {
        const storage::MemoAndBook now = store(read, typed);
        const bool memoAsked = typed.fixedMemo != read.fixedMemo && now.fixedMemo != typed.fixedMemo;
        const bool bookAsked = typed.bookno != read.bookno && now.bookno != typed.bookno;
        if (!memoAsked && !bookAsked)
            return now;
        if (attempt == kStoreAttempts)
            throw storage::StorageError(tr("The fixed memo or the book number was stored on other desks "
                                           "%n times while this desk stored its own; what was typed here "
                                           "stays in the box, not stored.", nullptr, attempt));
        QList<PageConflict> conflicts;
        const auto ask = [&conflicts](PageConflict::Kind kind, const QString& theirs, const QString& mine) {
            PageConflict& c = conflicts.emplaceBack();
            c.kind = kind;
            c.theirs = theirs;
            c.mine = mine;
        };
        if (memoAsked)
            ask(PageConflict::FixedMemo, now.fixedMemo, typed.fixedMemo);
        if (bookAsked)
            ask(PageConflict::Book, now.bookno, typed.bookno);
        if (!frmConflicts::ask(&form, form.PageDate, conflicts,
                               [](const PageConflict&) { return std::pair<QString, QString>(); }))
            throw StoreCancelled(tr("The fixed memo and the book number were not stored."));
        // Stored over their text where the user keeps this desk's; left as theirs otherwise.
        read = now;
        for (const PageConflict& c : std::as_const(conflicts))
            if (!c.keepMine)
                (c.kind == PageConflict::FixedMemo ? typed.fixedMemo : typed.bookno) = c.theirs;
    }
}

void MemoPanel::store()
{
    try {
        storeOrThrow();
    } catch (const StoreCancelled&) {
        // The boxes keep what was typed; the next store asks again.
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
