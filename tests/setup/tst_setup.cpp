// The set-up page through the real screen: the checks of its boxes, its keys, the provider
// grid, Okay with what it stores and where it leads, Reset, and closing without Okay.
#include "app/screens.h"
#include "common/daypage.h"
#include "common/screenstest.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "program.h"
#include "setup/frmConfigure.h"
#include "setup/frmSetup.h"
#include "storage/celltext.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

// A Wednesday, pinned as today.
const QDate kToday(2031, 4, 9);
const QString kSites = QStringLiteral("Room 1%Room 2%Lab%Front Desk%");
const QString kNames = QStringLiteral("Dr. Ilse Marwick%Dr. Tomas Ferrante%Nurse Adaeze Okoro%Reception%");
const char* const kProviders = "Listno || '|' || Sites || '|' || Names";

}  // namespace

class tst_setup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::setToday(kToday);
        program::registerScreens();
        program::setEndHandler([] {});
    }
    void cleanupTestCase()
    {
        program::setToday(QDate());
        program::setEndHandler(nullptr);
    }
    void init() { f = std::make_unique<DayPageFixture>(); }
    void cleanup()
    {
        closeAllScreens();
        s = nullptr;
        f.reset();
    }

    void newPracticeSetsItselfUp()
    {
        f->exec("UPDATE tbl_Setup SET location = NULL, open = NULL, Close = NULL, timeslot = NULL, Listno = NULL, "
                "Sites = NULL, Names = NULL");
        QVERIFY(open());
        QCOMPARE(s->Text5->text(), QString());
        // Enter leads from box to box once it is answered; each box is selected whole on the way.
        s->Text1->setFocus();
        typeKey(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), s->Text1);
        typeText("Clinic");
        typeKey(Qt::Key_Return);
        for (const char* answer : {"08", "30", "AM", "06", "00", "PM"}) {
            QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->selectedText(),
                     qobject_cast<QLineEdit*>(QApplication::focusWidget())->text());
            typeText(QString::fromLatin1(answer));
            typeKey(Qt::Key_Return);
        }
        QCOMPARE(QApplication::focusWidget(), s->Text4);
        // Okay before every question is answered stores nothing and shows the box to answer.
        s->CmdOkay->click();
        QCOMPARE(QApplication::focusWidget(), s->Text4);
        QVERIFY(f->value("SELECT open FROM tbl_Setup").isNull());
        typeText("15");
        typeKey(Qt::Key_Return);
        typeKey(Qt::Key_Return);  // no count yet: the box keeps the focus
        QCOMPARE(QApplication::focusWidget(), s->Text5);
        typeText("2");
        typeKey(Qt::Key_Return);
        // The grid starts on the first provider's site.
        QCOMPARE(QApplication::focusWidget(), s->Grid1);
        QCOMPARE(s->Grid1->Row(), 1);
        QCOMPARE(s->Grid1->Col(), 0);
        typeIntoCell(1, 0, "Room A");
        typeIntoCell(2, 1, "Dr. Lars Nakamura");
        s->CmdOkay->click();
        QCOMPARE(setting("location || '|' || open || '|' || Close || '|' || timeslot || '|' || Listno || '|' || "
                         "Sites || '|' || Names"),
                 QStringLiteral("Clinic|08:30 AM|06:00 PM|15|2|Room A%%|%Dr. Lars Nakamura%"));
        QVERIFY(!screens::loaded(Screen::Setup));
    }

    void leavingABox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("kept");  // the focus stays in the box
        QTest::newRow("hour 8 gets its 0") << "txtHrO" << "8" << "08" << false;
        QTest::newRow("empty hour becomes 0") << "txtHrC" << "" << "0" << false;
        QTest::newRow("hour 13") << "txtHrC" << "13" << "13" << true;
        QTest::newRow("hour takes two digits") << "txtHrO" << "012" << "01" << false;
        QTest::newRow("minutes 59") << "txtMinC" << "59" << "59" << false;
        QTest::newRow("minutes 60") << "txtMinO" << "60" << "60" << true;
        QTest::newRow("minutes take two digits") << "txtMinC" << "305" << "30" << false;
        QTest::newRow("pm in small letters") << "txtAM" << "pm" << "PM" << false;
        QTest::newRow("slot 9") << "Text4" << "9" << "9" << true;
        QTest::newRow("slot 241") << "Text4" << "241" << "241" << true;
        QTest::newRow("slot takes three digits") << "Text4" << "1205" << "120" << false;
        QTest::newRow("20 providers") << "Text5" << "20" << "16" << false;
        QTest::newRow("0 providers") << "Text5" << "0" << "1" << false;
        QTest::newRow("count refuses a sign") << "Text5" << "-5" << "5" << false;
    }

    void leavingABox()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, kept);
        QVERIFY(open());
        auto* edit = s->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        enter(edit, typed, Qt::Key_Tab);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(QApplication::focusWidget() == edit, kept);
        if (box == QLatin1String("Text5"))
            QCOMPARE(s->Grid1->Cols(), shown.toInt());
        QVERIFY(f->dialogs.messages.isEmpty());
    }

    void timeCheck_data()
    {
        QTest::addColumn<QStringList>("times");  // hour, minutes, AM/PM of the first, then of the last
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("noon to noon") << QStringList{"12", "00", "PM", "12", "00", "PM"} << true << "12:00 PM|12:00 PM";
        QTest::newRow("evening to morning") << QStringList{"05", "00", "PM", "08", "00", "AM"} << false
                                            << "08:00 AM|05:00 PM";
        QTest::newRow("empty hour is midnight") << QStringList{"", "15", "AM", "11", "45", "PM"} << true
                                                << "00:15 AM|11:45 PM";
    }

    void timeCheck()
    {
        QFETCH(QStringList, times);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        QVERIFY(open());
        const QList<QLineEdit*> boxes{s->txtHrO, s->txtMinO, s->txtAM, s->txtHrC, s->txtMinC, s->txtPM};
        for (int i = 0; i < 6; ++i) {
            enter(boxes[i], times[i], Qt::Key_Tab);
        }
        s->CmdOkay->setFocus();
        typeKey(Qt::Key_Return);
        QCOMPARE(setting("open || '|' || Close"), stored);
        QCOMPARE(screens::loaded(Screen::Setup) == nullptr, accepted);
        if (!accepted) {
            QCOMPARE(f->dialogs.messages.size(), 1);
            QCOMPARE(f->dialogs.messages[0].text, QStringLiteral("Closing time earlier than Opening time!"));
            QCOMPARE(f->dialogs.messages[0].title, QStringLiteral("Time Setting Error"));
            QCOMPARE(QApplication::focusWidget(), s->txtHrC);
        }
    }

    void growingProvidersUpdatesFuturePages()
    {
        const QDate past = kToday.addDays(-1), later = kToday.addDays(30), wide = kToday.addDays(31);
        for (QDate d : {past, kToday, later, wide})
            f->addPage(d, QStringLiteral("Ng"));
        f->exec(QStringLiteral("UPDATE tbl_Appt SET Listno = 8, Sites = 'a%b%c%d%e%f%g%h%' WHERE CalDate = '%1'")
                    .arg(wide.toString(Qt::ISODate)));
        QVERIFY(open());
        enter(s->Text5, "6", Qt::Key_Return);
        QCOMPARE(s->Grid1->TextMatrix(0, 5), QStringLiteral("6"));
        typeIntoCell(1, 5, "Room 6");
        typeIntoCell(2, 5, "Dr. Vera Lindqvist");
        s->CmdOkay->click();

        const QString six = QStringLiteral("6|%1%Room 6%|%2%Dr. Vera Lindqvist%").arg(kSites, kNames);
        QCOMPARE(setting(kProviders), six);
        QCOMPARE(pageField(kToday, kProviders), six);
        QCOMPARE(pageField(later, kProviders), six);
        QCOMPARE(pageField(wide, kProviders), "8|a%b%c%d%e%f%g%h%|" + kNames);
        QCOMPARE(pageField(past, kProviders), "4|" + kSites + "|" + kNames);
        QCOMPARE(pageField(kToday, "Data"), QStringLiteral("Ng"));
    }

    void reducingProvidersStoresTheFirst()
    {
        f->exec(QStringLiteral("UPDATE tbl_Setup SET Listno = 6, Sites = '%1a%b%', Names = '%2x%y%'").arg(kSites, kNames));
        const QDate five = kToday.addDays(2), four = kToday.addDays(3);
        f->addPage(five, QString());
        f->addPage(four, QString());
        f->exec(QStringLiteral("UPDATE tbl_Appt SET Listno = 5 WHERE CalDate = '%1'").arg(five.toString(Qt::ISODate)));
        f->exec(QStringLiteral("UPDATE tbl_Appt SET Listno = 4 WHERE CalDate = '%1'").arg(four.toString(Qt::ISODate)));
        QVERIFY(open());
        enter(s->Text5, "4", Qt::Key_Tab);
        QCOMPARE(s->Grid1->Cols(), 4);
        s->CmdOkay->click();
        QCOMPARE(setting(kProviders), "4|" + kSites + "|" + kNames);
        // Pages stored with more providers keep them.
        QCOMPARE(pageField(five, "Listno || Sites"), "5" + kSites + "a%b%");
        QCOMPARE(pageField(four, "Sites"), kSites);
    }

    void resetRestoresStoredCount()
    {
        f->exec("UPDATE tbl_Setup SET location = 'Clinic', open = '07:15 AM', timeslot = 20, Listno = 3, "
                "Sites = 'A%B%C%', Names = 'N1%N2%N3%'");
        QVERIFY(open());
        typeIntoCell(1, 0, "typed");
        enter(s->Text5, "7", Qt::Key_Tab);
        QCOMPARE(s->Grid1->Cols(), 7);
        // What was typed stays when the count changes.
        QCOMPARE(s->Grid1->TextMatrix(1, 0), QStringLiteral("typed"));
        s->CmdReset->setFocus();
        typeKey(Qt::Key_Return);
        const QStringList boxes{s->Text1->text(), s->txtHrO->text(), s->txtMinO->text(), s->txtAM->text(),
                                s->txtHrC->text(), s->txtMinC->text(), s->txtPM->text(), s->Text4->text(),
                                s->Text5->text()};
        QCOMPARE(boxes, (QStringList{"Office", "08", "00", "AM", "05", "00", "PM", "30", "3"}));
        QCOMPARE(s->Grid1->Cols(), 3);
        QCOMPARE(s->Grid1->TextMatrix(1, 0), QStringLiteral("A"));
        QCOMPARE(QApplication::focusWidget(), s->Text1);
        // Nothing is stored until Okay.
        QCOMPARE(setting("location"), QStringLiteral("Clinic"));
    }

    void gridRefusesListSeparators_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("cell");
        QTest::newRow("percent") << "Dr. A%B" << "Room 1";
        QTest::newRow("tab") << "Dr.\tB" << "Room 1";
        QTest::newRow("line break") << "Dr.\nB" << "Room 1";
        QTest::newRow("plain") << " East" << "Room 1 East";
    }

    void gridRefusesListSeparators()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, cell);
        QVERIFY(open());
        FlexGrid* g = s->Grid1;
        g->setFocus();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(1, 0).center());
        typeKey(Qt::Key_Return);
        s->txtEdit->insert(pasted);
        QCOMPARE(g->TextMatrix(1, 0), cell);
        // Typed, "%" is refused as well.
        typeText("%");
        QCOMPARE(g->TextMatrix(1, 0), cell);
        typeKey(Qt::Key_Return);
        s->CmdOkay->click();
        QCOMPARE(setting("Sites"), cell + kSites.mid(kSites.indexOf(u'%')));
    }

    void questionBeforeEntriesMove_data()
    {
        QTest::addColumn<QString>("change");   // the box changed and its new value
        QTest::addColumn<QStringList>("pages");  // day offset from today : cell text ("T" the template)
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");  // empty: none asked
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("reordered");  // tbl_Setup's fields stand in another order
        const QString one = QStringLiteral(
            "1 stored page from today on holds entries of its own. With the new time of the first "
            "appointment or the new slot length, its entries will stand at other times.\n\nDo you wish to "
            "store the new settings?");
        const QString two = QStringLiteral(
            "2 stored pages from today on hold entries of their own. With the new time of the first "
            "appointment or the new slot length, their entries will stand at other times.\n\nDo you wish "
            "to store the new settings?");
        const int yes = int(dialogs::Answer::Yes), no = int(dialogs::Answer::No);
        QTest::newRow("first time, No") << "txtMinO:30" << QStringList{"5:Ng"} << no << one << false << false;
        QTest::newRow("first time, Yes") << "txtMinO:30" << QStringList{"5:Ng"} << yes << one << true << false;
        QTest::newRow("slot, two pages") << "Text4:15" << QStringList{"0:Ng", "9:\tLee", "-3:Old"} << no << two << false << false;
        QTest::newRow("only the closing time") << "txtHrC:06" << QStringList{"5:Ng"} << no << "" << true << false;
        QTest::newRow("pages hold their template") << "Text4:15" << QStringList{"5:T", "6:T"} << no << "" << true << false;
        QTest::newRow("empty cells only") << "Text4:15" << QStringList{"5:\t\t\r\t"} << no << "" << true << false;
        QTest::newRow("past entries") << "Text4:15" << QStringList{"-1:Ng"} << no << "" << true << false;
        QTest::newRow("templates, fields reordered") << "Text4:15" << QStringList{"5:T", "6:T"} << no << "" << true << true;
    }

    void questionBeforeEntriesMove()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, pages);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, stored);
        QFETCH(bool, reordered);
        if (reordered)
            f->reorderSetupColumns();
        for (const QString& page : pages) {
            const QDate d = kToday.addDays(page.section(u':', 0, 0).toInt());
            const QString text = page.section(u':', 1);
            f->addPage(d, text == QLatin1String("T") ? f->settingsTemplate(d) : text);
        }
        const QString before = setting("open || Close || timeslot");
        QVERIFY(open());
        auto* box = s->findChild<QLineEdit*>(change.section(u':', 0, 0));
        enter(box, change.section(u':', 1), Qt::Key_Tab);
        f->dialogs.answerMessage(dialogs::Answer(answer));
        s->CmdOkay->click();
        if (question.isEmpty()) {
            QVERIFY(f->dialogs.messages.isEmpty() || f->dialogs.messages[0].title != QLatin1String("Appointments Will Move"));
        } else {
            QCOMPARE(f->dialogs.messages[0].text, question);
            QCOMPARE(f->dialogs.messages[0].buttons, dialogs::Buttons::YesNo);
        }
        QCOMPARE(setting("open || Close || timeslot") != before, stored);
        // No leaves the page open with what was typed.
        QCOMPARE(screens::loaded(Screen::Setup) != nullptr, !stored);
    }

    void okayClosesTheDayPageFirst_data()
    {
        QTest::addColumn<bool>("storable");  // the day page can store its page
        QTest::addColumn<int>("answer");     // to the day page's question when it cannot
        QTest::newRow("stored, then counted") << true << int(dialogs::Answer::Ok);
        QTest::newRow("not storable, Cancel") << false << int(dialogs::Answer::Cancel);
        QTest::newRow("not storable, Discard") << false << int(dialogs::Answer::Discard);
    }

    void okayClosesTheDayPageFirst()
    {
        QFETCH(bool, storable);
        QFETCH(int, answer);
        // Today's page on the day page behind, with an entry not stored yet.
        QPointer<frmAppt> page = qobject_cast<frmAppt*>(screens::show(Screen::Appt));
        QVERIFY(page && page->PageDate == kToday);
        page->Grid1->setTextMatrix(5, 2, QStringLiteral("Mr Oduya"));
        if (!storable)
            f->exec("CREATE TRIGGER refuse BEFORE UPDATE OF Data ON tbl_Appt BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
        const QString before = setting("timeslot");
        QVERIFY(open());
        enter(s->Text4, "15", Qt::Key_Tab);
        f->dialogs.messages.clear();
        if (!storable)
            f->dialogs.answerMessage(dialogs::Answer(answer));
        f->dialogs.answerMessage(dialogs::Answer::No);  // entries will move: No / templates: No
        s->CmdOkay->click();
        DayPageFixture::settle();

        const QList<dialogs::Prompt>& asked = f->dialogs.messages;
        QVERIFY(!asked.isEmpty());
        if (storable) {
            // The entry was stored before the pages were counted, so the question counts it.
            QCOMPARE(asked.size(), 1);
            QVERIFY(asked[0].text.startsWith(QStringLiteral("1 stored page from today on holds entries of its own.")));
            QVERIFY(f->storedData(kToday).toString().contains(QStringLiteral("Mr Oduya")));
            QVERIFY(page.isNull());
            QCOMPARE(setting("timeslot"), before);
            QVERIFY(screens::loaded(Screen::Setup));
            return;
        }
        QCOMPARE(asked[0].buttons, dialogs::Buttons::RetryDiscardCancel);
        QVERIFY(!f->storedData(kToday).toString().contains(QStringLiteral("Mr Oduya")));
        if (dialogs::Answer(answer) == dialogs::Answer::Cancel) {
            // The day page stays as it was, and nothing of the settings is stored.
            QCOMPARE(asked.size(), 2);
            QCOMPARE(asked[1].text, QStringLiteral("The settings were not stored: the day page is still open with a page "
                                                   "that could not be stored. Store or discard that page, then press "
                                                   "Okay again."));
            QVERIFY(page && page->isVisible());
            QCOMPARE(page->Grid1->TextMatrix(5, 2), QStringLiteral("Mr Oduya"));
            QCOMPARE(page->LastRow, 24);
            QCOMPARE(setting("timeslot"), before);
            QVERIFY(screens::loaded(Screen::Setup));
            return;
        }
        // Discarded: the settings are stored, and the day page is built anew from them.
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].title, QStringLiteral("Configure Page Template"));
        QCOMPARE(setting("timeslot"), QStringLiteral("15"));
        QVERIFY(!screens::loaded(Screen::Setup));
        auto* rebuilt = qobject_cast<frmAppt*>(screens::loaded(Screen::Appt));
        QVERIFY(rebuilt && rebuilt != page);
        QCOMPARE(rebuilt->LastRow, 42);  // the slots of 15 minutes
    }

    void failedReadKeepsTheGrid_data()
    {
        QTest::addColumn<QString>("action");  // what reads the stored lists while the file is held
        QTest::addColumn<QString>("afterward");
        QTest::newRow("count changed") << "count" << "The sites and names stay as they are shown. Okay stores "
                                                     "nothing until the stored settings can be read again.";
        QTest::newRow("Reset") << "Reset" << "Nothing was reset. Okay stores nothing until the stored settings can "
                                             "be read again.";
    }

    void failedReadKeepsTheGrid()
    {
        QFETCH(QString, action);
        QFETCH(QString, afterward);
        QVERIFY(open());
        typeIntoCell(2, 0, "Dr. Ines Quarshie");
        // Another program holds the file for longer than the page waits for it.
        f->exec("BEGIN EXCLUSIVE");
        if (action == QLatin1String("count")) {
            enter(s->Text5, "6", Qt::Key_Tab);
        } else {
            s->CmdReset->click();
        }
        const QString locked = QStringLiteral("The database file %1 failed while reading the settings:\n"
                                              "database is locked Unable to fetch row\n\n")
                                   .arg(f->folder.databasePath());
        QCOMPARE(f->dialogs.messages.size(), 1);
        QCOMPARE(f->dialogs.messages[0].text, locked + afterward);
        QCOMPARE(s->Grid1->Cols(), 4);
        QCOMPARE(s->Grid1->TextMatrix(1, 3), QStringLiteral("Front Desk"));
        QCOMPARE(s->Grid1->TextMatrix(2, 0), QStringLiteral("Dr. Ines Quarshie"));
        // Okay reads again first, and stores nothing while it cannot.
        s->CmdOkay->click();
        QCOMPARE(f->dialogs.messages.size(), 2);
        QCOMPARE(f->dialogs.messages[1].text,
                 locked + "The sites and names stay as they are shown. Okay stores nothing until the stored "
                          "settings can be read again.");
        QVERIFY(screens::loaded(Screen::Setup));
        f->exec("ROLLBACK");
        QCOMPARE(setting(kProviders), "4|" + kSites + "|" + kNames);

        // Once the file can be read, Okay stores what is shown.
        s->CmdOkay->click();
        const QString count = action == QLatin1String("count") ? QStringLiteral("6") : QStringLiteral("4");
        const QString more = action == QLatin1String("count") ? QStringLiteral("%%") : QString();
        QCOMPARE(setting(kProviders), count + "|" + kSites + more + "|"
                                          + QString(kNames).replace("Dr. Ilse Marwick", "Dr. Ines Quarshie") + more);
    }

    void storedCountOutOfRange_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("-30000") << -30000 << 1;
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("40") << 40 << 16;
    }

    void storedCountOutOfRange()
    {
        QFETCH(int, stored);
        QFETCH(int, shown);
        // A damaged or foreign file: the page opens all the same, and says so at load and at Reset.
        f->exec(QStringLiteral("UPDATE tbl_Setup SET Listno = %1").arg(stored));
        QVERIFY(open());
        s->CmdReset->click();
        const QString said = QStringLiteral("The stored number of service providers, %1, is out of range (1 to 16). "
                                            "The page shows %2 instead; Okay stores that number.")
                                 .arg(stored)
                                 .arg(shown);
        QCOMPARE(f->dialogs.messages.size(), 2);
        for (const dialogs::Prompt& p : f->dialogs.messages)
            QCOMPARE(p.text, said);
        QCOMPARE(s->Text5->text(), QString::number(shown));
        QCOMPARE(s->Grid1->Cols(), shown);
        QCOMPARE(s->Grid1->TextMatrix(1, 0), QStringLiteral("Room 1"));
        s->CmdOkay->click();
        QCOMPARE(setting("Listno"), QString::number(shown));
    }

    void closingWritesNothing()
    {
        const char* const all = "location || open || Close || timeslot || Listno || Sites || Names";
        const QString before = setting(all);
        QVERIFY(open());
        enter(s->Text1, "Agency");
        enter(s->txtHrO, "9");
        enter(s->Text5, "9", Qt::Key_Tab);
        typeIntoCell(2, 8, "Nobody");
        s->close();
        DayPageFixture::settle();
        QCOMPARE(setting(all), before);
        QVERIFY(!screens::loaded(Screen::Setup));
        QVERIFY(screens::loaded(Screen::Menu) && screens::loaded(Screen::Menu)->isVisible());
        QVERIFY(f->dialogs.messages.isEmpty());
    }

    void leadsOn_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("next");
        QTest::newRow("Yes: the templates") << int(dialogs::Answer::Yes) << int(Screen::Configure);
        QTest::newRow("No: the day page") << int(dialogs::Answer::No) << int(Screen::Appt);
    }

    void leadsOn()
    {
        QFETCH(int, answer);
        QFETCH(int, next);
        // The day page and the template editor open behind, from before the change.
        auto* before = qobject_cast<frmAppt*>(screens::show(Screen::Appt));
        QVERIFY(before && before->LastCol == 4);
        QPointer<frmConfigure> editor = qobject_cast<frmConfigure*>(screens::show(Screen::Configure));
        QVERIFY(editor && QTest::qWaitForWindowActive(editor));
        DayPageFixture::settle();
        QVERIFY(open());
        enter(s->Text5, "5", Qt::Key_Tab);
        f->dialogs.messages.clear();
        f->dialogs.answerMessage(dialogs::Answer(answer));
        s->CmdOkay->click();
        DayPageFixture::settle();
        QCOMPARE(f->dialogs.messages[0].text,
                 QStringLiteral("Do you wish to configure page templates for each day of the week?"));
        QVERIFY(!screens::loaded(Screen::Setup));
        QVERIFY(!screens::loaded(Screen::Menu));
        QVERIFY(screens::loaded(Screen(next)) && screens::loaded(Screen(next))->isVisible());
        // Both are built anew from the new settings.
        QVERIFY(editor.isNull());
        if (auto* page = qobject_cast<frmAppt*>(screens::loaded(Screen::Appt)))
            QCOMPARE(page->LastCol, 5);
        if (auto* templates = qobject_cast<frmConfigure*>(screens::loaded(Screen::Configure))) {
            QVERIFY(QTest::qWaitForWindowActive(templates));
            DayPageFixture::settle();
            QCOMPARE(templates->LastCol, 5);
            QCOMPARE(QApplication::focusWidget(), templates->Grid1);
            typeKey(Qt::Key_F7);
            const QList<QStringList> monday = celltext::split(setting("Mon"));
            QCOMPARE(monday.size(), 22);
            QCOMPARE(monday[0].size(), 5);
        }
    }

private:
    frmSetup* open() { return s = showScreen<frmSetup>(Screen::Setup); }
    // Types a text over a box's own and, where a key is named, leaves the box with it.

    static void enter(QLineEdit* box, const QString& text, Qt::Key leave = Qt::Key_unknown)
    {
        box->setFocus();
        box->selectAll();
        typeKey(Qt::Key_Backspace);
        typeText(text);
        if (leave != Qt::Key_unknown)
            typeKey(leave);
    }

    void typeIntoCell(int row, int col, const QString& text)
    {
        FlexGrid* g = s->Grid1;
        g->setLeftCol(col);
        g->setFocus();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
        QCOMPARE(g->Row(), row);
        QCOMPARE(g->Col(), col);
        typeKey(Qt::Key_Return);
        QVERIFY(s->txtEdit->isVisible());
        s->txtEdit->selectAll();
        typeKey(Qt::Key_Backspace);
        typeText(text);
        typeKey(Qt::Key_Return);
    }

    QString setting(const char* field) const
    {
        return f->value(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(QLatin1String(field))).toString();
    }

    QString pageField(QDate date, const char* field) const
    {
        return f->value(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = '%2'")
                            .arg(QLatin1String(field), date.toString(Qt::ISODate)))
            .toString();
    }

    std::unique_ptr<DayPageFixture> f;
    frmSetup* s = nullptr;
};

QTEST_MAIN(tst_setup)
#include "tst_setup.moc"
