#include "common/daypage.h"

#include "navigation/MemoPanel.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "program.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "storage/pagetable.h"

#include <QApplication>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {
const QString kConnection = QStringLiteral("fixture");
}

QString DayPageFixture::key(QDate date)
{
    return date.toString(Qt::ISODate);
}

DayPageFixture::DayPageFixture() : pinnedBefore_(program::pinnedToday())
{
    if (!pinnedBefore_.isValid())
        program::setToday(Today);
    QSqlDatabase db = QSqlDatabase::addDatabase(book.onServer() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                                                kConnection);
    db.setDatabaseName(book.onServer() ? book.server().name() : folder.databasePath());
    if (book.onServer())
        db.setUserName(ServerDatabase::role());
    if (!db.open())
        qFatal("the fixture cannot open the book");
}

DayPageFixture::~DayPageFixture()
{
    close();
    {
        QSqlDatabase db = QSqlDatabase::database(kConnection);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
    program::setToday(pinnedBefore_);
}

bool DayPageFixture::open()
{
    form = static_cast<frmAppt*>(createDayPage());
    if (!form)
        return false;
    calendar = form->findChild<MonthCalendar*>();
    navigation = form->findChild<PageNavigation*>();
    memos = form->findChild<MemoPanel*>();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form))
        qWarning("the day page did not become active");
    return true;
}

void DayPageFixture::close()
{
    if (form) {
        delete form;
        form = nullptr;
    }
    settle();
}

QVariant DayPageFixture::value(const QString& sql) const
{
    QSqlQuery q(QSqlDatabase::database(kConnection));
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

void DayPageFixture::exec(const QString& sql) const
{
    QSqlQuery q(QSqlDatabase::database(kConnection));
    if (!q.exec(sql))
        qFatal("%s", qPrintable(sql));
}

void DayPageFixture::refuse(const QString& statement, QDate date, const QString& error) const
{
    const QString row = statement == QLatin1String("DELETE") ? QStringLiteral("old") : QStringLiteral("new");
    if (book.onServer())
        exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                            "IF %1.CalDate = '%2' THEN RAISE EXCEPTION '%3'; END IF; RETURN %1; END $$; "
                            "CREATE TRIGGER refuse BEFORE %4 ON tbl_Appt FOR EACH ROW EXECUTE FUNCTION refuse()")
                 .arg(row, key(date), error, statement));
    else
        exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON tbl_Appt WHEN %2.CalDate = '%3' "
                            "BEGIN SELECT RAISE(ABORT, '%4'); END").arg(statement, row, key(date), error));
}

int DayPageFixture::pageCount() const
{
    return value(QStringLiteral("SELECT count(*) FROM tbl_Appt")).toInt();
}

QVariant DayPageFixture::storedData(QDate date) const
{
    QSqlQuery q(QSqlDatabase::database(kConnection));
    q.prepare(QStringLiteral("SELECT Data FROM tbl_Appt WHERE CalDate = ? ORDER BY id DESC LIMIT 1"));
    q.addBindValue(date.toString(Qt::ISODate));
    if (!q.exec() || !q.next())
        return QStringLiteral("<no row>");
    return q.value(0);
}

void DayPageFixture::addPage(QDate date, const QVariant& data, const QVariant& clinic, const QString& memo) const
{
    QSqlQuery q(QSqlDatabase::database(kConnection));
    q.prepare(QStringLiteral(
        "INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names) "
        "SELECT ?, ?, ?, ?, location, open, Close, timeslot, Listno, Sites, Names FROM tbl_Setup"));
    q.addBindValue(date.toString(Qt::ISODate));
    q.addBindValue(data);
    // The server keeps the flag as a yes/no value.
    q.addBindValue(book.onServer() && !clinic.isNull() ? QVariant(clinic.toBool()) : clinic);
    q.addBindValue(memo);
    if (!q.exec())
        qFatal("cannot add a page");
}

QString DayPageFixture::settingsTemplate(QDate date) const
{
    static const char* const fields[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return value(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(QString::fromLatin1(fields[date.dayOfWeek() - 1])))
        .toString();
}

void DayPageFixture::reorderSetupColumns() const
{
    const QString fields = QStringLiteral(
        "location, open, Close, timeslot, Listno, Names, Sites, FixedMemo, bookno, Licence, chk1, chk2, chk3, "
        "chk4, chk5, chk6, chk7, Readme, Sun, Sat, Fri, Thu, Wed, Tue, Mon");
    exec(QStringLiteral("CREATE TABLE reordered AS SELECT %1 FROM tbl_Setup").arg(fields));
    exec(QStringLiteral("DROP TABLE tbl_Setup"));
    exec(QStringLiteral("ALTER TABLE reordered RENAME TO tbl_Setup"));
}

void DayPageFixture::clickDay(QDate date)
{
    for (int i = 0; i < 42; ++i)
        if (calendar->CalDates[i] == date) {
            QTest::mouseClick(calendar->LblDay[i], Qt::LeftButton);
            settle();
            return;
        }
    QFAIL("the date is not on the calendar");
}

void DayPageFixture::openDate(QDate date)
{
    dialogs.answerInput(date.toString(QStringLiteral("yyyy-MM-dd")));
    navigation->mnuPageOpen_Click();
    settle();
}

void DayPageFixture::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void storeCell(storage::Database& desk, QDate date, int gridRow, int gridCol, const QString& text)
{
    storage::PageTable pages(desk);
    storage::PageRow row = *pages.find(date);
    row.data = withCell(row.data, gridRow - 3, gridCol - 1, text);
    pages.update(row);
}
