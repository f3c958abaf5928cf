#include "navigation/frmHits.h"

#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "platform/clock.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagesearch.h"
#include "storage/settings.h"

#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <tuple>

namespace {

constexpr int FirstDataRow = 3;
constexpr int FirstDataCol = 1;
const QString kUpcoming = QStringLiteral("\u25BA");

enum Column { Mark, Date, Day, Time, Provider, Text, ColumnCount };

// What a layout puts where: the time label of each grid row and the provider of each column.
struct LaidOut {
    int lastRow = 0;
    int lastCol = 0;
    QStringList times;
    QStringList providers;
};

// Lays a layout out on a grid that is never shown, as the day page would, and reads its
// headings; std::nullopt when the layout cannot be laid out (such a page cannot be shown).
std::optional<LaidOut> layOut(const storage::Layout& layout)
{
    if (!layout.complete())
        return std::nullopt;
    FlexGrid grid;
    grid.setFixedRows(3);
    grid.setFixedCols(1);
    PageGridLayout builder(grid, PageGridLayout::DayPage);
    QStringList sites, names;
    SplitList(layout.sites, sites);
    SplitList(layout.names, names);
    QString open = layout.open;
    try {
        builder.BuildProviderColumns(layout.listno + 1, sites, names);
        builder.BuildTimeRows(open, layout.close, layout.timeslot);
    } catch (const LayoutError&) {
        return std::nullopt;
    }
    LaidOut result;
    result.lastRow = builder.LastRow;
    result.lastCol = builder.LastCol;
    for (int r = 0; r <= result.lastRow; ++r)
        result.times << grid.TextMatrix(r, 0).trimmed();
    for (int c = 0; c <= result.lastCol; ++c) {
        const QString name = grid.TextMatrix(2, c).trimmed();
        result.providers << (name.isEmpty() ? QString::number(c) : name);
    }
    return result;
}

QString layoutKey(const storage::Layout& l)
{
    return QStringList{l.open, l.close, QString::number(l.timeslot), QString::number(l.listno), l.names}
        .join(QChar(0));
}

}  // namespace

QList<Hit> collectHits(storage::Database& db, const QString& name)
{
    const storage::Settings settings = storage::readSettings(db);
    const QDate today = program::today();
    storage::PageSearch search(db, name);
    QHash<QString, std::optional<LaidOut>> layouts;
    QSet<QDate> seen;
    QList<Hit> hits;
    search.allMatches([&](const storage::PageMatch& page) {
        // The day page shows the newest row of a date; older rows of the same date stay unseen.
        if (seen.contains(page.calDate))
            return;
        seen.insert(page.calDate);
        const storage::Layout& layout = page.calDate < today ? page.layout : settings.layout;
        const QString key = layoutKey(layout);
        auto it = layouts.find(key);
        if (it == layouts.end())
            it = layouts.insert(key, layOut(layout));
        if (!*it)
            return;
        const LaidOut& grid = **it;
        const QList<QStringList> rows = celltext::split(page.data);
        for (int i = 0; i < rows.size() && FirstDataRow + i <= grid.lastRow; ++i) {
            const QStringList& cells = rows[i];
            for (int j = 0; j < cells.size() && FirstDataCol + j <= grid.lastCol; ++j) {
                if (!search.matcher().matches(cells[j]))
                    continue;
                Hit hit;
                hit.date = page.calDate;
                hit.row = FirstDataRow + i;
                hit.col = FirstDataCol + j;
                hit.time = grid.times.value(hit.row);
                hit.provider = grid.providers.value(hit.col);
                hit.text = cells[j];
                hits << hit;
            }
        }
    });
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return std::tie(a.date, a.row, a.col) < std::tie(b.date, b.row, b.col);
    });
    return hits;
}

frmHits::frmHits(QWidget* dayPage) : QWidget(dayPage, Qt::Window)
{
    setObjectName(QStringLiteral("frmHits"));
    setWindowTitle(QStringLiteral("Search Results"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    lblHits = new QLabel(this);
    lblHits->setObjectName(QStringLiteral("lblHits"));
    lblHits->setWordWrap(true);
    column->addWidget(lblHits);

    lstHits = new QTreeWidget(this);
    lstHits->setObjectName(QStringLiteral("lstHits"));
    lstHits->setAccessibleName(QStringLiteral("Search Results"));
    lstHits->setColumnCount(ColumnCount);
    lstHits->setHeaderLabels({QString(), QStringLiteral("Date"), QStringLiteral("Day"), QStringLiteral("Time"),
                              QStringLiteral("Provider"), QStringLiteral("Text")});
    lstHits->headerItem()->setData(Mark, Qt::AccessibleTextRole, QStringLiteral("Today or later"));
    lstHits->setRootIsDecorated(false);
    lstHits->setUniformRowHeights(true);
    lstHits->setAllColumnsShowFocus(true);
    lstHits->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHits->header()->setStretchLastSection(true);
    lstHits->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstHits->header()->setSectionResizeMode(Text, QHeaderView::Stretch);
    column->addWidget(lstHits, 1);
    connect(lstHits, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { activate(item); });
    resize(460, 520);
}

void frmHits::showHits(const QString& name, const QList<Hit>& hits)
{
    hits_ = hits;
    lstHits->clear();
    const QLocale locale = QLocale::system();
    const QDate today = program::today();
    QSet<QDate> pages;
    QList<QTreeWidgetItem*> items;
    items.reserve(hits.size());
    QTreeWidgetItem* firstUpcoming = nullptr;
    for (int i = 0; i < hits.size(); ++i) {
        const Hit& h = hits[i];
        pages.insert(h.date);
        auto* item = new QTreeWidgetItem;
        const bool upcoming = h.date >= today;
        item->setText(Mark, upcoming ? kUpcoming : QString());
        item->setData(Mark, Qt::AccessibleTextRole, upcoming ? QStringLiteral("today or later") : QString());
        item->setText(Date, locale.toString(h.date, QLocale::ShortFormat));
        item->setText(Day, locale.dayName(h.date.dayOfWeek(), QLocale::ShortFormat));
        item->setText(Time, h.time);
        item->setText(Provider, h.provider);
        item->setText(Text, h.text);
        item->setData(Mark, Qt::UserRole, i);
        if (upcoming) {
            QFont bold = item->font(Date);
            bold.setBold(true);
            for (int c = 0; c < ColumnCount; ++c)
                item->setFont(c, bold);
            if (!firstUpcoming)
                firstUpcoming = item;
        }
        items << item;
    }
    lstHits->addTopLevelItems(items);

    const QString cells = hits.size() == 1 ? QStringLiteral("1 cell") : QStringLiteral("%1 cells").arg(hits.size());
    const QString onPages = pages.size() == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages.size());
    QString text = QStringLiteral("\"%1\" stands in %2 on %3.").arg(name, cells, onPages);
    if (firstUpcoming)
        text += QStringLiteral(" %1 marks today and later.").arg(kUpcoming);
    if (!hits.isEmpty())
        text += QStringLiteral(" Enter or a double click opens the page.");
    lblHits->setTextFormat(Qt::PlainText);
    lblHits->setText(text);

    // The next appointment first: the earliest of today or later, else the latest past one.
    QTreeWidgetItem* current = firstUpcoming ? firstUpcoming : (items.isEmpty() ? nullptr : items.last());
    if (current) {
        lstHits->setCurrentItem(current);
        lstHits->scrollToItem(current, QAbstractItemView::PositionAtCenter);
    }
    placeBesideDayPage();
    show();
    raise();
    activateWindow();
    lstHits->setFocus();
}

void frmHits::placeBesideDayPage()
{
    if (isVisible())
        return;
    const QWidget* page = parentWidget();
    const QScreen* screen = page ? page->screen() : QGuiApplication::primaryScreen();
    if (!page || !screen)
        return;
    // As tall as the day page, in the room to its right (at least a readable width).
    const QRect room = screen->availableGeometry();
    const QRect beside = page->frameGeometry();
    const int w = std::clamp(room.right() - beside.right(), 460, room.width());
    resize(w, std::max(beside.height() - (frameGeometry().height() - height()), 300));
    move(std::max(std::min(beside.right() + 1, room.right() + 1 - w), room.left()),
         std::max(beside.top(), room.top()));
}

void frmHits::activate(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const int index = item->data(Mark, Qt::UserRole).toInt();
    if (index < 0 || index >= hits_.size())
        return;
    const Hit h = hits_[index];
    emit openHit(h.date, h.row, h.col);
}

void frmHits::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
