#include "navigation/frmHits.h"

#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "platform/clock.h"
#include "storage/celltext.h"
#include "navigation/CellHistory.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/pagetable.h"
#include "storage/pagesearch.h"
#include "storage/settings.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QSet>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <tuple>

namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(frmHits)
};

constexpr int FirstDataRow = 3;
constexpr int FirstDataCol = 1;
const QString kUpcoming = QStringLiteral("\u25BA");
const QString kRemoved = QStringLiteral("\u00D7");

// What a layout puts where: the time label of each grid row and the provider of each column.
struct LaidOut {
    int lastRow = 0;
    int lastCol = 0;
    QStringList times;
    QStringList providers;
};

// Lays a layout out on a grid that is never shown, as the day page would, and reads its
// headings; std::nullopt when the layout cannot be laid out (such a page cannot be shown),
// with the reason in fault.
std::optional<LaidOut> layOut(const storage::Layout& layout, QString* fault = nullptr)
{
    try {
        if (!layout.complete())
            throw LayoutError(layout.missing.first(), Tr::tr("(never written)"));
        FlexGrid grid;
        grid.setFixedRows(3);
        grid.setFixedCols(1);
        PageGridLayout builder(grid, PageGridLayout::DayPage);
        builder.BuildFrom(layout);
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
    } catch (const LayoutError& e) {
        if (fault)
            *fault = e.message();
        return std::nullopt;
    }
}

// Calls found(row, col, cell) for each cell of a page's text that holds the name, in the
// order of the text, with grid coordinates. The page is searched as a whole and only the
// cells around each place found are looked at.
template <class Found>
void forEachCellHolding(QStringView text, const storage::NameMatcher& matcher, Found found)
{
    const QString& name = matcher.name();
    // A cell holds no separator, so no cell holds such a name; an empty name is no name.
    if (name.isEmpty() || name.contains(celltext::CellSeparator) || name.contains(celltext::RowSeparator))
        return;
    const auto isSeparator = [](QChar c) { return c == celltext::CellSeparator || c == celltext::RowSeparator; };
    int row = FirstDataRow;
    int col = FirstDataCol;
    qsizetype counted = 0;  // separators before this position are counted in row and col
    qsizetype pos = matcher.indexIn(text, 0);
    while (pos >= 0) {
        qsizetype start = pos;
        while (start > counted && !isSeparator(text[start - 1]))
            --start;
        for (qsizetype i = counted; i < start; ++i) {
            if (text[i] == celltext::RowSeparator) {
                ++row;
                col = FirstDataCol;
            } else if (text[i] == celltext::CellSeparator) {
                ++col;
            }
        }
        qsizetype end = pos + name.size();
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        found(row, col, text.mid(start, end - start));
        // One hit per cell: on from the cell's end.
        counted = start;
        pos = matcher.indexIn(text, end);
    }
}

QString layoutKey(const storage::Layout& l)
{
    return QStringList{l.open, l.close, QString::number(l.timeslot), QString::number(l.listno), l.names}
        .join(QChar(0));
}

}  // namespace

QString layoutFault(const storage::Layout& layout)
{
    QString fault;
    layOut(layout, &fault);
    return fault;
}

QList<Hit> collectHits(storage::Database& db, const QString& name, QList<QDate>* notLaidOut)
{
    const storage::Settings settings = storage::readSettings(db);
    const QDate today = program::today();
    storage::PageSearch search(db, name);
    QHash<QString, std::optional<LaidOut>> layouts;
    QList<Hit> hits;
    QList<QDate> unlisted;
    // Only the row each date's page shows takes part (the search sees to that).
    search.allMatches([&](const storage::PageMatch& page) {
        const storage::Layout& layout = page.calDate < today ? page.layout : settings.layout;
        const QString key = layoutKey(layout);
        auto it = layouts.find(key);
        if (it == layouts.end())
            it = layouts.insert(key, layOut(layout));
        if (!*it) {
            unlisted << page.calDate;
            return;
        }
        const LaidOut& grid = **it;
        forEachCellHolding(page.data, search.matcher(), [&](int row, int col, QStringView cell) {
            if (row > grid.lastRow || col > grid.lastCol)
                return;
            Hit hit;
            hit.date = page.calDate;
            hit.row = row;
            hit.col = col;
            hit.time = grid.times.value(row);
            hit.provider = grid.providers.value(col);
            hit.text = cell.toString();
            hits << hit;
        });
    });
    // Texts taken out of their cells since: where the cell (on the page as stored now) no
    // longer holds the name.
    QHash<QDate, QList<QStringList>> pages;
    storage::PageTable table(db);
    const std::vector<storage::Change> removed = storage::History(db).removed(search.matcher(), [&](const storage::Change& c) {
        auto it = pages.find(c.calDate);
        if (it == pages.end()) {
            const std::optional<storage::PageRow> row = table.find(c.calDate);
            it = pages.insert(c.calDate, row ? celltext::split(row->data) : QList<QStringList>());
        }
        return search.matcher().matches(it->value(c.row).value(c.col));
    });
    for (const storage::Change& c : removed) {
        Hit hit;
        hit.date = c.calDate;
        hit.row = c.row + FirstDataRow;
        hit.col = c.col + FirstDataCol;
        hit.time = c.timeLabel;
        hit.provider = c.provider.isEmpty() ? QString::number(hit.col) : c.provider;
        hit.text = c.oldText;
        hit.removed = true;
        hit.removedAt = c.moment;
        hit.removedBy = c.desk;
        hits << hit;
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return std::tie(a.date, a.row, a.col, a.removed) < std::tie(b.date, b.row, b.col, b.removed);
    });
    if (notLaidOut) {
        std::sort(unlisted.begin(), unlisted.end());
        *notLaidOut = unlisted;
    }
    return hits;
}

// --- the list -----------------------------------------------------------------------------

void HitsModel::setHits(const QList<Hit>& hits, QDate today)
{
    beginResetModel();
    hits_ = hits;
    today_ = today;
    endResetModel();
}

int HitsModel::firstUpcoming() const
{
    const auto it = std::find_if(hits_.cbegin(), hits_.cend(), [this](const Hit& h) { return !h.removed && h.date >= today_; });
    return it == hits_.cend() ? -1 : int(it - hits_.cbegin());
}

int HitsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(hits_.size());
}

int HitsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HitsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= hits_.size())
        return {};
    const Hit& h = hits_[index.row()];
    const bool upcoming = h.date >= today_;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Mark: return h.removed ? kRemoved : upcoming ? kUpcoming : QString();
        case Date: return QLocale::system().toString(h.date, QLocale::ShortFormat);
        case Day: return QLocale::system().dayName(h.date.dayOfWeek(), QLocale::ShortFormat);
        case Time: return h.time;
        case Provider: return h.provider;
        case Text:
            return h.removed ? tr("%1 (removed %2 by %3)").arg(h.text, CellHistory::when(h.removedAt), h.removedBy)
                             : h.text;
        default: return {};
        }
    case Qt::AccessibleTextRole:
        if (index.column() == Mark)
            return h.removed ? tr("removed") : upcoming ? tr("today or later") : QString();
        return data(index, Qt::DisplayRole);
    case Qt::FontRole:
        if (upcoming) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant HitsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const char* const titles[] = {"", QT_TR_NOOP("Date"), QT_TR_NOOP("Day"), QT_TR_NOOP("Time"),
                                         QT_TR_NOOP("Provider"), QT_TR_NOOP("Text")};
    if (role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return section == Mark ? QString() : tr(titles[section]);
    if (role == Qt::AccessibleTextRole && section == Mark)
        return tr("Today or later");
    return {};
}

frmHits::frmHits(QWidget* dayPage) : QWidget(dayPage, Qt::Window)
{
    setObjectName(QStringLiteral("frmHits"));
    setWindowTitle(tr("Search Results"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    lblHits = new QLabel(this);
    lblHits->setObjectName(QStringLiteral("lblHits"));
    lblHits->setWordWrap(true);
    lblHits->setTextFormat(Qt::PlainText);
    column->addWidget(lblHits);

    lstHits = new QTreeView(this);
    lstHits->setObjectName(QStringLiteral("lstHits"));
    lstHits->setAccessibleName(tr("Search Results"));
    lstHits->setModel(&model_);
    lstHits->setRootIsDecorated(false);
    lstHits->setItemsExpandable(false);
    lstHits->setUniformRowHeights(true);
    lstHits->setAllColumnsShowFocus(true);
    lstHits->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstHits->header()->setStretchLastSection(true);
    lstHits->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstHits->header()->setSectionResizeMode(HitsModel::Text, QHeaderView::Stretch);
    lstHits->header()->setSectionResizeMode(HitsModel::Mark, QHeaderView::Fixed);
    lstHits->header()->resizeSection(HitsModel::Mark, lstHits->fontMetrics().horizontalAdvance(kUpcoming) + 16);
    column->addWidget(lstHits, 1);
    connect(lstHits, &QTreeView::activated, this, &frmHits::activate);
    resize(460, 520);
}

void frmHits::showHits(const QString& name, const QList<Hit>& hits, const QList<QDate>& notLaidOut)
{
    model_.setHits(hits, program::today());
    QSet<QDate> pages;
    int standing = 0;
    for (const Hit& h : hits)
        if (!h.removed) {
            pages.insert(h.date);
            ++standing;
        }
    const qsizetype removed = hits.size() - standing;
    const int upcoming = model_.firstUpcoming();

    QStringList sentences;
    sentences << tr("\"%1\" stands in %2 on %3.")
                     .arg(name, tr("%n cell(s)", "stands in ...", standing),
                          tr("%n page(s)", "... on", int(pages.size())));
    if (!notLaidOut.isEmpty()) {
        // The count above is not the whole story: say which pages were left out, and why.
        QStringList dates;
        for (QDate d : notLaidOut)
            dates << QLocale::system().toString(d, QLocale::ShortFormat);
        sentences << tr("%n more page(s) hold(s) it but cannot be laid out, so its/their cells are not listed: %1.",
                        nullptr, int(notLaidOut.size()))
                         .arg(dates.join(QStringLiteral(", ")));
    }
    if (upcoming >= 0)
        sentences << tr("%1 marks today and later.").arg(kUpcoming);
    if (removed > 0)
        sentences << tr("%1 marks %n text(s) removed from its/their cell(s) since.", nullptr, int(removed)).arg(kRemoved);
    if (!hits.isEmpty())
        sentences << tr("Enter or a double click opens the page.");
    lblHits->setText(sentences.join(u' '));

    // The next appointment first: the earliest of today or later, else the latest past one.
    const int current = upcoming >= 0 ? upcoming : int(hits.size()) - 1;
    if (current >= 0) {
        const QModelIndex index = model_.index(current, HitsModel::Mark);
        lstHits->setCurrentIndex(index);
        lstHits->scrollTo(index, QAbstractItemView::PositionAtCenter);
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

void frmHits::activate(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= model_.rowCount())
        return;
    const Hit h = model_.hit(index.row());
    if (h.removed)
        emit openRemoved(h.date, h.row, h.col);
    else
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
