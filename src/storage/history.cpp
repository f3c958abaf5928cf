#include "storage/history.h"

#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/engine.h"
#include "storage/pagesearch.h"

#include <QSysInfo>
#include <set>
#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif
#include <tuple>

namespace storage {
namespace {

QString g_desk;

QString flagText(bool closed)
{
    return closed ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

QString deskName()
{
    if (!g_desk.isEmpty())
        return g_desk;
    const QString host = QSysInfo::machineHostName().trimmed();
    QString login = qEnvironmentVariable("USER").trimmed();
    if (login.isEmpty())
        login = qEnvironmentVariable("LOGNAME").trimmed();
    if (login.isEmpty())
        login = qEnvironmentVariable("USERNAME").trimmed();
#ifdef Q_OS_UNIX
    // Started by a service manager or through su, the environment may name no one; the
    // account database still knows whose the process is.
    if (login.isEmpty())
        if (const passwd* account = getpwuid(geteuid()); account && account->pw_name)
            login = QString::fromLocal8Bit(account->pw_name).trimmed();
#endif
    if (host.isEmpty() && login.isEmpty())
        return QStringLiteral("unknown desk");
    return (host.isEmpty() ? QStringLiteral("unknown computer") : host) + QLatin1Char('/')
         + (login.isEmpty() ? QStringLiteral("unknown login") : login);
}

void setDeskName(const QString& name)
{
    g_desk = name.trimmed();
}

namespace {

// The piece of `text` from `pos` up to the next `separator`; `pos` moves past it, to -1 once
// the text is used up (a text used up gives an empty piece, which compares as an empty cell).
QStringView nextPiece(QStringView text, qsizetype& pos, QChar separator)
{
    if (pos < 0)
        return {};
    const qsizetype end = text.indexOf(separator, pos);
    const QStringView piece = end < 0 ? text.mid(pos) : text.mid(pos, end - pos);
    pos = end < 0 ? -1 : end + 1;
    return piece;
}

}  // namespace

std::vector<Change> pageChanges(QDate date, const PageState& before, const PageState& after,
                                const CellLabels& labels)
{
    std::vector<Change> changes;
    if (before.data != after.data) {
        // Walked in place, row beside row: a store changes a few cells of a page of a thousand,
        // and only those become texts of their own.
        const QStringView oldData(before.data), newData(after.data);
        qsizetype oldRowAt = 0, newRowAt = 0;
        for (int r = 0; oldRowAt >= 0 || newRowAt >= 0; ++r) {
            const QStringView oldRow = nextPiece(oldData, oldRowAt, celltext::RowSeparator);
            const QStringView newRow = nextPiece(newData, newRowAt, celltext::RowSeparator);
            if (oldRow == newRow)
                continue;
            qsizetype oldCellAt = 0, newCellAt = 0;
            for (int c = 0; oldCellAt >= 0 || newCellAt >= 0; ++c) {
                const QStringView oldText = nextPiece(oldRow, oldCellAt, celltext::CellSeparator);
                const QStringView newText = nextPiece(newRow, newCellAt, celltext::CellSeparator);
                if (oldText == newText)
                    continue;
                Change change;
                change.calDate = date;
                change.field = QStringLiteral("Data");
                change.row = r;
                change.col = c;
                change.timeLabel = labels.times.value(r).trimmed();
                change.provider = labels.providers.value(c).trimmed();
                change.oldText = oldText.toString();
                change.newText = newText.toString();
                changes.push_back(change);
            }
        }
    }
    if (before.closed != after.closed) {
        Change change;
        change.calDate = date;
        change.field = QStringLiteral("Clinic");
        change.oldText = flagText(before.closed);
        change.newText = flagText(after.closed);
        changes.push_back(change);
    }
    if (before.memo != after.memo) {
        Change change;
        change.calDate = date;
        change.field = QStringLiteral("Memo");
        change.oldText = before.memo;
        change.newText = after.memo;
        changes.push_back(change);
    }
    return changes;
}

PageState newPage(QDate date, const Settings& settings)
{
    return PageState{settings.templateFor(date), settings.closedOn(date), QString()};
}

PageState storedPage(QDate date, const QString& data, bool dataNull, std::optional<bool> clinic,
                     const QString& memo, const std::function<Settings()>& settings)
{
    if (!dataNull)
        return PageState{data, clinic.value_or(false), memo};
    PageState page = newPage(date, settings());
    if (clinic)
        page.closed = *clinic;
    page.memo = memo;
    return page;
}

std::vector<Change> settingChanges(const QStringList& fields, const QVariantList& before,
                                   const QVariantList& after)
{
    // Flags as 1 and 0 on both engines (the server's booleans read as true and false).
    const auto text = [](const QString& field, const QVariant& v) {
        const bool flag = v.typeId() == QMetaType::Bool || field.startsWith(QLatin1String("chk"));
        return flag ? flagText(v.toBool()) : v.toString();
    };
    std::vector<Change> changes;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString oldText = text(fields[i], before.value(i));
        const QString newText = text(fields[i], after.value(i));
        if (oldText == newText)
            continue;
        Change c;
        c.field = fields[i];
        c.oldText = oldText;
        c.newText = newText;
        changes.push_back(c);
    }
    return changes;
}

std::vector<Change> History::cell(QDate date, int row, int col)
{
    return db_.engine().cellHistory(date, row, col);
}

std::vector<Change> History::day(QDate date)
{
    return db_.engine().dayHistory(date);
}

std::vector<Change> History::removed(const NameMatcher& matcher,
                                     const std::function<bool(const Change&)>& stillThere)
{
    std::vector<Change> cellChanges = db_.engine().overwrittenCells();
    // The newest change of each cell that took the name out of it.
    std::vector<Change> found;
    std::set<std::tuple<QDate, int, int>> seen;
    for (Change& c : cellChanges) {
        if (!matcher.matches(c.oldText) || matcher.matches(c.newText))
            continue;
        if (!seen.insert({c.calDate, c.row, c.col}).second)
            continue;
        if (!stillThere(c))
            found.push_back(std::move(c));
    }
    return found;
}

}  // namespace storage
