// Every way the program writes the database, run again and again with the disk failing at one
// step after another (the first write, the second, ... a sync, the journal's deletion), until
// the operation goes through untouched. After each failure: the user was told, the file is
// sound, it holds the state before or the state after and nothing in between, and once the disk
// works again the same action stores all of it.
#include "app/screens.h"
#include "common/daypage.h"
#include "common/faultyfiles.h"
#include "common/files.h"
#include "common/screenstest.h"
#include "navigation/MemoPanel.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "program.h"
#include "setup/frmConfigure.h"
#include "setup/frmSetup.h"
#include "storage/database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

const QDate kToday = DayPageFixture::Today;

// One way of writing: what is there before, the user's action, how the user tries again
// after a failure that offered no Retry of its own, and whether the screen still stands where
// it stood, as it should when nothing was stored (not moved on as after a success).
struct WritePath {
    std::function<void(DayPageFixture&)> prepare;
    std::function<void(DayPageFixture&)> act;
    std::function<void(DayPageFixture&)> again;
    std::function<bool(DayPageFixture&)> stays = [](DayPageFixture&) { return true; };
};

WritePath writePath(const QString& name)
{
    const QDate tomorrow = kToday.addDays(1), later = kToday.addDays(2);
    const auto openPage = [](DayPageFixture& f) { QVERIFY(f.open()); };
    if (name == "page switch") {
        return {[=](DayPageFixture& f) {
                    f.addPage(tomorrow, QStringLiteral(""), 0);
                    openPage(f);
                    f.form->Grid1->setTextMatrix(5, 2, QStringLiteral("Mr Oduya"));
                },
                [=](DayPageFixture& f) { f.clickDay(tomorrow); }, {}};
    }
    if (name == "new page") {
        const auto act = [=](DayPageFixture& f) { f.clickDay(tomorrow); };
        return {[=](DayPageFixture& f) {
                    f.exec("DELETE FROM tbl_Appt WHERE CalDate > '" + DayPageFixture::key(kToday) + "'");
                    openPage(f);
                },
                act, act, [](DayPageFixture& f) { return f.form->PageDate == kToday; }};
    }
    if (name == "memo and book number") {
        const auto act = [](DayPageFixture& f) {
            f.memos->TxtFixedMemo->setPlainText(QStringLiteral("Closed at noon on Fridays"));
            f.memos->txtBook->setText(QStringLiteral("77"));
            f.memos->txtBook->setFocus();
            f.form->Grid1->setFocus();
            f.settle();
        };
        return {openPage, act, act};
    }
    if (name == "purge on leaving") {
        const auto leave = [](DayPageFixture& f) {
            f.form->Grid1->setFocus();
            typeKey(Qt::Key_F12);
            f.form = nullptr;
            screens::unload(Screen::Menu);
            f.settle();
        };
        return {[=](DayPageFixture& f) {
                    f.addPage(later, f.settingsTemplate(later), 0);
                    openPage(f);
                },
                leave,
                [=](DayPageFixture& f) {
                    // The page opened again and left again.
                    closeAllScreens();
                    f.form = nullptr;
                    openPage(f);
                    leave(f);
                }};
    }
    if (name == "set-up Okay") {
        const auto okay = [](DayPageFixture&) {
            auto* s = qobject_cast<frmSetup*>(screens::loaded(Screen::Setup));
            QVERIFY(s);
            s->CmdOkay->click();
            DayPageFixture::settle();
        };
        return {[=](DayPageFixture& f) {
                    f.addPage(kToday, QStringLiteral(""), 0);
                    f.addPage(later, QStringLiteral("Ng"), 0);
                    // The file as the day page's earlier openings left it, with the search's
                    // index: Okay opens the day page, whose making of a missing index is no
                    // part of storing the settings (a failure there is told, and the page
                    // opens all the same).
                    storage::Database(f.folder.databasePath()).prepareSearch();
                    auto* s = qobject_cast<frmSetup*>(screens::show(Screen::Setup));
                    QVERIFY(s);
                    f.settle();
                    s->Text1->setText(QStringLiteral("Clinic"));
                    s->Text5->setText(QStringLiteral("5"));
                },
                okay, okay, [](DayPageFixture&) {
                    return screens::loaded(Screen::Setup) && !screens::loaded(Screen::Appt);
                }};
    }
    if (name == "template (F7)") {
        const auto f7 = [](DayPageFixture& f) {
            QVERIFY(screens::loaded(Screen::Configure));
            auto* c = qobject_cast<frmConfigure*>(screens::loaded(Screen::Configure));
            c->Grid1->setFocus();
            typeKey(Qt::Key_F7);
            f.settle();
        };
        return {[](DayPageFixture& f) {
                    auto* c = qobject_cast<frmConfigure*>(screens::show(Screen::Configure));
                    QVERIFY(c);
                    QVERIFY(QTest::qWaitForWindowActive(c));
                    f.settle();
                    c->Grid1->setTextMatrix(4, 1, QStringLiteral("Staff meeting"));
                },
                f7, f7, [](DayPageFixture&) {
                    auto* c = qobject_cast<frmConfigure*>(screens::loaded(Screen::Configure));
                    return c && c->lblCalDay->text().startsWith(QStringLiteral("Mon"));
                }};
    }
    qFatal("no such write path");
}

// Every stored row, every field: the settings row and the pages.
QString storedState(const QString& path)
{
    return fileRows(path, {"PRAGMA integrity_check", "SELECT * FROM tbl_Setup", "SELECT * FROM tbl_Appt ORDER BY id"})
               .join(u'\n') + u'\n';
}

// The rows of a state found in neither of two others, cut short, for a failure's message.
QString strayRows(const QString& state, const QString& before, const QString& after)
{
    QStringList stray;
    const QStringList a = before.split(u'\n'), b = after.split(u'\n');
    for (const QString& row : state.split(u'\n'))
        if (!a.contains(row) || !b.contains(row))
            stray << (a.contains(row) ? "as before: " : b.contains(row) ? "as after: " : "neither: ") + row.left(160);
    return stray.join(u'\n');
}

// The answer a user who wants the change stored gives.
dialogs::Answer goOn(const dialogs::Prompt& prompt)
{
    switch (prompt.buttons) {
    case dialogs::Buttons::RetryCancel:
    case dialogs::Buttons::RetryDiscardCancel:
        return dialogs::Answer::Retry;
    case dialogs::Buttons::YesNo:
    case dialogs::Buttons::YesNoCancel:
        // "Do you wish to configure page templates" is no part of the writing.
        return prompt.title == QStringLiteral("Configure Page Template") ? dialogs::Answer::No
                                                                          : dialogs::Answer::Yes;
    default:
        return dialogs::Answer::Ok;
    }
}

// The messages that report a failure of the file (each names it).
QStringList reports(const DayPageFixture& f)
{
    QStringList found;
    for (const dialogs::Prompt& prompt : f.dialogs.messages)
        if (prompt.text.contains(f.folder.databasePath()))
            found << prompt.text;
    return found;
}

void answerAsAUserWhoGoesOn(DayPageFixture& f)
{
    f.dialogs.whenAsked = [&f](const dialogs::Prompt& prompt) { f.dialogs.answerMessage(goOn(prompt)); };
}

}  // namespace

class tst_faults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::setToday(kToday);
        program::registerScreens();
        program::setEndHandler([] {});
    }
    void cleanup() { closeAllScreens(); }

    void everyFailingStep_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("lasting");
        for (const char* path : {"page switch", "new page", "memo and book number", "purge on leaving", "set-up Okay",
                                 "template (F7)"}) {
            QTest::addRow("%s, one step fails", path) << QString(path) << false;
            QTest::addRow("%s, the disk stays bad", path) << QString(path) << true;
        }
    }

    void everyFailingStep()
    {
        QFETCH(QString, path);
        QFETCH(bool, lasting);
        const WritePath way = writePath(path);
        FaultyFiles faults;

        // What the action stores when nothing fails.
        QString before, after;
        {
            DayPageFixture f;
            way.prepare(f);
            before = storedState(f.folder.databasePath());
            answerAsAUserWhoGoesOn(f);
            way.act(f);
            QVERIFY2(reports(f).isEmpty(), qPrintable(reports(f).value(0)));
            after = storedState(f.folder.databasePath());
            closeAllScreens();
        }
        QVERIFY(before.startsWith("ok|\n"));
        QVERIFY2(before != after, qPrintable(before.right(300)));

        for (int n = 1;; ++n) {
            QVERIFY2(n < 500, "the action never went through");
            DayPageFixture f;
            way.prepare(f);
            QCOMPARE(storedState(f.folder.databasePath()), before);
            f.dialogs.messages.clear();
            QString atFailure;
            bool offeredRetry = false;
            f.dialogs.whenAsked = [&](const dialogs::Prompt& prompt) {
                // The disk works again by the time the user reads the message.
                if (faults.fired() && atFailure.isNull()) {
                    faults.stop();
                    atFailure = storedState(f.folder.databasePath());
                }
                offeredRetry = offeredRetry || goOn(prompt) == dialogs::Answer::Retry;
                f.dialogs.answerMessage(goOn(prompt));
            };
            faults.fail(n, lasting);
            way.act(f);
            const bool fired = faults.fired();
            const QString failure = faults.firstFailure();
            faults.stop();
            if (!fired) {
                QVERIFY2(reports(f).isEmpty(), qPrintable(reports(f).value(0)));
                QCOMPARE(storedState(f.folder.databasePath()), after);
                qInfo("%s: %d steps can fail", qPrintable(path), n - 1);
                break;
            }
            const QByteArray where = (path + ", " + failure).toUtf8();
            // Told, with the file named; and what was stored is one whole state.
            QVERIFY2(!reports(f).isEmpty(), qPrintable(where + ": not told; asked " + QString::number(f.dialogs.messages.size())));
            QVERIFY2(atFailure == before || atFailure == after,
                     qPrintable(where + ": the stored rows are a mixture\n" + strayRows(atFailure, before, after)));
            // Going on once the fault is gone stores it all.
            if (!offeredRetry && way.again) {
                QVERIFY2(way.stays(f), qPrintable(where + ": moved on as if stored"));
                answerAsAUserWhoGoesOn(f);
                f.dialogs.messages.clear();
                way.again(f);
                QVERIFY2(reports(f).isEmpty(), qPrintable(where + ": " + reports(f).value(0)));
            }
            const QString retried = storedState(f.folder.databasePath());
            QVERIFY2(retried == after, qPrintable(where + ": not stored on retrying\n" + strayRows(retried, before, after)));
            f.close();
            closeAllScreens();
        }
    }
};

QTEST_MAIN(tst_faults)
#include "tst_faults.moc"
