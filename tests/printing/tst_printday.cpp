// A day's schedule printed to PDF from the command line, without a window.
#include "common/files.h"
#include "common/daypage.h"
#include "common/german.h"
#include "common/pdffile.h"
#include "platform/clock.h"
#include "printing/printday.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {
const QDate kToday(2024, 3, 6);  // a Wednesday
}

class tst_printday : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { program::setToday(kToday); }
    void cleanupTestCase() { program::setToday(QDate()); }

    void badArguments_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<std::optional<QString>>("column");
        QTest::addColumn<QString>("error");
        const std::optional<QString> none;
        const QString notADate = QStringLiteral("The date \"%1\" is not a valid date of the form YYYY-MM-DD.");
        const QString notAColumn = QStringLiteral("The column \"%1\" is not a provider column number (1, 2, ...).");
        QTest::newRow("short form") << "2024-3-6" << "a.pdf" << none << notADate.arg("2024-3-6");
        QTest::newRow("trailing text") << "2024-03-06x" << "a.pdf" << none << notADate.arg("2024-03-06x");
        QTest::newRow("no file") << "2024-03-06" << "" << none
                                 << "No PDF file is named: give one with --pdf FILE.";
        QTest::newRow("column 0") << "2024-03-06" << "a.pdf" << std::optional<QString>("0") << notAColumn.arg("0");
        QTest::newRow("column word") << "2024-03-06" << "a.pdf" << std::optional<QString>("two") << notAColumn.arg("two");
        QTest::newRow("column too long for a number")
            << "2024-03-06" << "a.pdf" << std::optional<QString>("99999999999999999999")
            << notAColumn.arg("99999999999999999999");
    }

    void badArguments()
    {
        QFETCH(QString, date);
        QFETCH(QString, pdf);
        QFETCH(std::optional<QString>, column);
        QFETCH(QString, error);
        QString message;
        QVERIFY(!printday::request(date, pdf, column, message));
        QCOMPARE(message, error);
    }

    void printout_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<std::optional<QString>>("column");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("setup");  // SQL run on the book first
        const std::optional<QString> all;
        QTest::newRow("demo page, all columns")
            << QDate(1998, 10, 10) << all << 4
            << QStringList{"Appointment Schedule: Saturday,", "Dr. Ilse Marwick", "Reception", "Saturday clinic",
                           "08:00 AM Elena Moreau", "05:00 PM"}
            << QStringList{} << "";
        QTest::newRow("demo page, column 2")
            << QDate(1998, 10, 10) << std::optional<QString>("2") << 1
            << QStringList{"Dr. Tomas Ferrante", "Room 2", "08:30 AM Hugo Castellan"}
            << QStringList{"Dr. Ilse Marwick", "Elena Moreau"} << "";
        // A past page keeps the layout it was made with: two providers, 07:30 to 12:30.
        QTest::newRow("past page in its own layout")
            << QDate(1998, 8, 8) << all << 2 << QStringList{"07:30 AM", "12:30 PM", "Dr. Tomas Ferrante"}
            << QStringList{"05:00 PM", "Reception"} << "";
        // Five-minute slots from 8 to 5: 109 time rows, more than one sheet holds; the heading
        // stands on the first sheet alone.
        QTest::newRow("a long column goes on to the next sheets")
            << kToday << std::optional<QString>("1") << 4 << QStringList{"05:00 PM", "12:05 PM"}
            << QStringList{} << "UPDATE tbl_Setup SET timeslot = 5";
    }

    void printout()
    {
        QFETCH(QDate, date);
        QFETCH(std::optional<QString>, column);
        QFETCH(int, pages);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(QString, setup);
        DayPageFixture f;
        if (!setup.isEmpty())
            f.exec(setup);
        const QString pdf = f.folder.path() + QStringLiteral("/sheet.pdf");
        QString error;
        const std::optional<printday::Request> request =
            printday::request(date.toString(Qt::ISODate), pdf, column, error);
        QVERIFY2(request, qPrintable(error));
        QVERIFY2(printday::print(*request, error), qPrintable(error));
        QCOMPARE(pdfPageCount(pdf), pages);
        const std::optional<QString> text = pdfWords(pdf);
        if (!text)
            QSKIP("pdftotext is not installed: the text of the sheet is not checked");
        for (const QString& s : present)
            QVERIFY2(text->contains(s), qPrintable(s));
        for (const QString& s : absent)
            QVERIFY2(!text->contains(s), qPrintable(s));
        QCOMPARE(text->count(QStringLiteral("Appointment Schedule:")), column ? 1 : pages);
    }

    void pageNotStoredStoresNothing()
    {
        DayPageFixture f;
        // Today's page is stored with a layout copy of two providers; today follows the
        // settings (four), as the day page would show it.
        f.addPage(kToday, QStringLiteral("Wed one\tWed two\tWed three\tWed four"));
        f.exec(QStringLiteral("UPDATE tbl_Appt SET Listno = 2 WHERE CalDate = '2024-03-06'"));
        const int rows = f.pageCount();
        const QString pdf = f.folder.path() + QStringLiteral("/today.pdf");
        QString error;
        QVERIFY2(printday::print({kToday, pdf, std::nullopt}, error), qPrintable(error));
        QCOMPARE(pdfPageCount(pdf), 4);

        // Friday 8 March has no page: it prints its weekday's template and stores nothing.
        const QString friday = f.folder.path() + QStringLiteral("/friday.pdf");
        QVERIFY2(printday::print({QDate(2024, 3, 8), friday, 1}, error), qPrintable(error));
        QCOMPARE(f.pageCount(), rows);
        QCOMPARE(f.storedData(QDate(2024, 3, 8)).toString(), QStringLiteral("<no row>"));
        QCOMPARE(pdfPageCount(friday), 1);
        if (const std::optional<QString> text = pdfWords(friday)) {
            QVERIFY(text->contains(QStringLiteral("Appointment Schedule: Friday,")));
            QVERIFY(text->contains(QStringLiteral("01:00 PM ====")));
        }
        if (const std::optional<QString> text = pdfWords(pdf))
            QVERIFY(text->contains(QStringLiteral("Wed four")));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("pdfName");
        QTest::addColumn<QString>("error");  // %1 the program folder
        QTest::newRow("no db.mdb") << "remove" << 0 << "x.pdf"
                                   << "The database file %1/db.mdb failed while opening it:\nThe file does not exist.";
        QTest::newRow("db.mdb not a database") << "garbage" << 0 << "x.pdf" << "The database file %1/db.mdb failed while";
        QTest::newRow("column past the last") << "" << 9 << "x.pdf"
                                              << "The page of 1998-10-10 has provider columns 1 to 4; there is no column 9.";
        QTest::newRow("folder of the file missing") << "" << 0 << "missing/x.pdf"
                                                    << "The file %1/missing/x.pdf cannot be written.";
        QTest::newRow("settings never completed") << "setup" << 0 << "x.pdf"
                                                  << "The page cannot be laid out: the setting Listno holds";
        // The disk fills while the file is written: a limit on the size of files this process
        // writes fails the writes as a full disk would.
        QTest::newRow("disk full part way") << "full" << 0 << "x.pdf"
                                            << "The file %1/x.pdf could not be written in full; the disk may be full.";
    }

    void failures()
    {
        QFETCH(QString, damage);
        QFETCH(int, column);
        QFETCH(QString, pdfName);
        QFETCH(QString, error);
        if (testserver::engineIsServer() && (damage == QLatin1String("remove") || damage == QLatin1String("garbage")))
            QSKIP("the file's own damage");
        DayPageFixture f;
        QDate date(1998, 10, 10);
        if (damage == QLatin1String("setup")) {
            f.exec(QStringLiteral("UPDATE tbl_Setup SET Listno = NULL"));
            date = kToday;
        }
        if (damage == QLatin1String("remove"))
            QVERIFY(QFile::remove(f.folder.databasePath()));
        if (damage == QLatin1String("garbage"))
            writeFile(f.folder.databasePath(), QByteArray(4096, 'x'));
        const QString pdf = f.folder.path() + QLatin1Char('/') + pdfName;
        QString message;
        const printday::Request request{date, pdf, column ? std::optional(column) : std::nullopt};
        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        if (damage == QLatin1String("full")) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = before;
            small.rlim_cur = 4096;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        }
        const bool printed = printday::print(request, message);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &before) == 0);
        QVERIFY(!printed);
        if (error.contains(QLatin1String("%1")))
            error = error.arg(f.folder.path());
        QVERIFY2(message.startsWith(error), qPrintable(message));
        QVERIFY(!QFile::exists(pdf));
    }

    void printedInTheDesktopsLanguage_data()
    {
        QTest::addColumn<QString>("locale");  // LC_ALL of the desktop
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        // The headings speak the program's language; the weekday and the date are the desktop's
        // forms; the names on the page are stored data and stay as they are.
        QTest::newRow("German desktop") << "de_DE.UTF-8" << QStringList{}
                                        << QStringList{"Terminplan: Samstag, 10.10.98", "Zeit Dr. Ilse Marwick",
                                                       "Saturday clinic"}
                                        << QStringList{"Appointment", "Time"};
        QTest::newRow("--lang de on an English desktop")
            << "C.UTF-8" << QStringList{"--lang", "de"} << QStringList{"Terminplan: Saturday,", "Zeit Dr. Ilse Marwick"}
            << QStringList{"Appointment"};
        QTest::newRow("--lang en on a German desktop")
            << "de_DE.UTF-8" << QStringList{"--lang", "en"}
            << QStringList{"Appointment Schedule: Samstag, 10.10.98", "Time Dr. Ilse Marwick"} << QStringList{"Terminplan"};
    }

    // The program itself, from the command line, as cron or a user starts it.
    void printedInTheDesktopsLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        if (testserver::engineIsServer())
            QSKIP("the program's own run reads the book of its data folder: the file");
        if (const QString why = germanLocaleMissing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        DayPageFixture f;
        const QString pdf = f.folder.path() + QStringLiteral("/sheet.pdf");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", locale);
        env.remove("LANGUAGE");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(CALVORA_BUILD_DIR "/calvora", QStringList{"--data", f.folder.path(), "--print-day", "1998-10-10", "--pdf", pdf}
                                                 + arguments);
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
        const std::optional<QString> text = pdfWords(pdf);
        if (!text)
            QSKIP("pdftotext is not installed: the text of the sheet is not checked");
        for (const QString& s : present)
            QVERIFY2(text->contains(s), qPrintable(*text));
        for (const QString& s : absent)
            QVERIFY2(!text->contains(s), qPrintable(s));
    }
};

QTEST_MAIN(tst_printday)
#include "tst_printday.moc"
