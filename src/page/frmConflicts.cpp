#include "page/frmConflicts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Functions, not constants: read once the language is loaded.
QString kKeepTheirs()
{
    return frmConflicts::tr("Keep theirs");
}

QString kKeepMine()
{
    return frmConflicts::tr("Keep mine");
}

// The keys that choose in the list, as the prompt names them.
QString keyTheirs()
{
    return frmConflicts::tr("T", "the key in the list that keeps their text");
}

QString keyMine()
{
    return frmConflicts::tr("M", "the key in the list that keeps my text");
}

QPushButton* button(QWidget* parent, const QString& text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmConflicts::frmConflicts(QWidget* parent, QDate date, QList<PageConflict>& conflicts, const Place& place)
    : QDialog(parent), conflicts_(conflicts)
{
    setObjectName(QStringLiteral("frmConflicts"));
    setWindowTitle(tr("Stored on Another Desk"));
    setModal(true);
    auto* root = new QVBoxLayout(this);

    auto* prompt = new QLabel(tr("The page of %1 was stored on another desk while it was being typed "
                                 "on here. These entries were changed on both desks: choose for each "
                                 "which text the page keeps (in the list: %2 theirs, %3 mine).")
                                  .arg(QLocale::system().toString(date, QLocale::ShortFormat), keyTheirs(), keyMine()),
                              this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setWordWrap(true);
    root->addWidget(prompt);

    tblConflicts = new QTableWidget(int(conflicts.size()), 5, this);
    tblConflicts->setObjectName(QStringLiteral("tblConflicts"));
    tblConflicts->setAccessibleName(tr("Entries changed on both desks"));
    tblConflicts->setHorizontalHeaderLabels({tr("Time"), tr("Provider"), tr("Their text"), tr("My text"),
                                             tr("Keep", "the column of the text the page keeps")});
    tblConflicts->verticalHeader()->hide();
    tblConflicts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblConflicts->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblConflicts->setSelectionMode(QAbstractItemView::SingleSelection);
    tblConflicts->setTabKeyNavigation(false);
    tblConflicts->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblConflicts->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < conflicts.size(); ++i) {
        const PageConflict& c = conflicts[i];
        QString time, provider;
        switch (c.kind) {
        case PageConflict::Cell:
            std::tie(time, provider) = place(c);
            break;
        case PageConflict::Memo:
            time = tr("Daily Memo");
            break;
        case PageConflict::FixedMemo:
            time = tr("Fixed Memo");
            break;
        case PageConflict::Book:
            time = tr("Book number");
            break;
        }
        // Their text says whose it is and when it was stored, as the history does.
        const QString theirs = c.theirDesk.isEmpty()
            ? c.theirs
            : tr("%1 (by %2, %3)")
                  .arg(c.theirs, c.theirDesk, QLocale::system().toString(c.theirMoment.toLocalTime(), QLocale::ShortFormat));
        const QStringList texts{time, provider, theirs, c.mine, c.keepMine ? kKeepMine() : kKeepTheirs()};
        for (int col = 0; col < texts.size(); ++col)
            tblConflicts->setItem(i, col, new QTableWidgetItem(texts[col]));
    }
    tblConflicts->setCurrentCell(0, 0);
    tblConflicts->installEventFilter(this);
    tblConflicts->setMinimumWidth(560);
    root->addWidget(tblConflicts, 1);

    auto* choices = new QHBoxLayout;
    cmdTheirs = button(this, tr("Keep &theirs"), "cmdTheirs");
    cmdMine = button(this, tr("Keep &mine"), "cmdMine");
    cmdAllTheirs = button(this, tr("Keep theirs for &all"), "cmdAllTheirs");
    cmdAllMine = button(this, tr("Keep m&ine for all"), "cmdAllMine");
    for (QPushButton* b : {cmdTheirs, cmdMine, cmdAllTheirs, cmdAllMine})
        choices->addWidget(b);
    root->addLayout(choices);
    auto* ends = new QHBoxLayout;
    ends->addStretch(1);
    cmdStore = button(this, tr("&Store"), "cmdStore");
    cmdStore->setDefault(true);
    cmdCancel = button(this, tr("&Cancel"), "cmdCancel");
    ends->addWidget(cmdStore);
    ends->addWidget(cmdCancel);
    root->addLayout(ends);

    connect(cmdTheirs, &QPushButton::clicked, this, [this] { chooseCurrent(false); });
    connect(cmdMine, &QPushButton::clicked, this, [this] { chooseCurrent(true); });
    connect(cmdAllTheirs, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < conflicts_.size(); ++i)
            choose(i, false);
    });
    connect(cmdAllMine, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < conflicts_.size(); ++i)
            choose(i, true);
    });
    connect(cmdStore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    tblConflicts->setFocus();
}

bool frmConflicts::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tblConflicts && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::ShiftModifier)
            return QDialog::eventFilter(watched, event);
        const QString typed = key->text().toUpper();
        if (!typed.isEmpty() && (typed == keyTheirs() || typed == keyMine())) {
            chooseCurrent(typed == keyMine());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmConflicts::choose(int row, bool mine)
{
    if (row < 0 || row >= conflicts_.size())
        return;
    conflicts_[row].keepMine = mine;
    tblConflicts->item(row, 4)->setText(mine ? kKeepMine() : kKeepTheirs());
}

void frmConflicts::chooseCurrent(bool mine)
{
    const int row = tblConflicts->currentRow();
    choose(row, mine);
    // On to the next entry, so that a list is answered key after key.
    if (row + 1 < conflicts_.size())
        tblConflicts->setCurrentCell(row + 1, tblConflicts->currentColumn());
    tblConflicts->setFocus();
}

bool frmConflicts::ask(QWidget* parent, QDate date, QList<PageConflict>& conflicts, const Place& place)
{
    const QList<PageConflict> before = conflicts;
    frmConflicts dialog(parent, date, conflicts, place);
    if (dialog.exec() == QDialog::Accepted)
        return true;
    conflicts = before;
    return false;
}
