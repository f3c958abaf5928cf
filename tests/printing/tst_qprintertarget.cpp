// The printer target: the font that keeps blank counts lined up, lines wider than a sheet,
// and documents that are abandoned.
#include "printing/QPrinterTarget.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A printer driver that takes the whole document and then cannot finish it, as a spooler
// that goes away at the last moment: it notes whether it was told to cancel the job.
class FailingAtEnd final : public QPaintEngine, public QPrintEngine {
public:
    FailingAtEnd() : QPaintEngine(AllFeatures) {}
    bool cancelled = false;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return User; }

    void setProperty(PrintEnginePropertyKey, const QVariant&) override {}
    QVariant property(PrintEnginePropertyKey) const override { return {}; }
    bool newPage() override { return true; }
    bool abort() override { return cancelled = true; }
    int metric(QPaintDevice::PaintDeviceMetric m) const override
    {
        switch (m) {
        case QPaintDevice::PdmWidthMM: return 210;
        case QPaintDevice::PdmHeightMM: return 297;
        case QPaintDevice::PdmDevicePixelRatio: return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        case QPaintDevice::PdmNumColors: return INT_MAX;
        case QPaintDevice::PdmDepth: return 32;
        case QPaintDevice::PdmWidth: return 9900;
        case QPaintDevice::PdmHeight: return 14000;
        default: return 1200;  // dots per inch
        }
    }
    QPrinter::PrinterState printerState() const override { return cancelled ? QPrinter::Aborted : QPrinter::Active; }
};

class DriverPrinter final : public QPrinter {
public:
    explicit DriverPrinter(FailingAtEnd& driver) { setEngines(&driver, &driver); }
};

}  // namespace

class tst_qprintertarget : public QObject {
    Q_OBJECT

private slots:
    void fontIsFixedPitch_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("bold");
        QTest::newRow("heading") << 14 << true;
        QTest::newRow("times") << 9 << true;
        QTest::newRow("start") << 10 << false;
    }

    void fontIsFixedPitch()
    {
        QFETCH(int, size);
        QFETCH(bool, bold);
        const QFont font = QPrinterTarget::font(size, bold);
        QVERIFY(QFontInfo(font).fixedPitch());
        QCOMPARE(QFontInfo(font).bold(), bold);
        const QFontMetricsF m(font);
        // A blank is as wide as any letter, so "14 blanks, the time, 7 blanks" lines up.
        QCOMPARE(m.horizontalAdvance(QStringLiteral("          ")), m.horizontalAdvance(QStringLiteral("WWWWWiiiii")));
    }

    void wrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("pieces");
        const QString sp14(14, u' '), sp20(20, u' '), sp30(30, u' ');
        QTest::newRow("fits") << "  short" << 20 << QStringList{"  short"};
        QTest::newRow("exactly fits") << "0123456789" << 10 << QStringList{"0123456789"};
        QTest::newRow("time row continues under its text")
            << sp14 + "08:00 AM        Anna Berg, new patient, bring x-rays" << 60
            << QStringList{sp14 + "08:00 AM        Anna Berg, new patient, bring", sp30 + "x-rays"};
        QTest::newRow("untimed row continues under its start")
            << sp20 + "Anna Berg, new patient" << 40 << QStringList{sp20 + "Anna Berg, new", sp20 + "patient"};
        QTest::newRow("a word longer than the room is cut")
            << "  abcdefghijklmnop" << 8 << QStringList{"  abcdef", "  ghijkl", "  mnop"};
        QTest::newRow("indent past half the sheet continues at the margin")
            << QString(8, u' ') + "one two three" << 12 << QStringList{QString(8, u' ') + "one", "two three"};
    }

    void wrap()
    {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QFETCH(QStringList, pieces);
        QCOMPARE(QPrinterTarget::wrap(text, columns), pieces);
    }

    void noPrinterInstalled()
    {
        // Qt falls back to PDF output when the system has no printer.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        try {
            QPrinterTarget::requireSystemPrinter(printer);
            QFAIL("a PDF printer passed for a system printer");
        } catch (const PrintError& e) {
            QCOMPARE(e.description(), QStringLiteral("No printer is installed on this system"));
        }
    }

    void abandonedDocumentLeavesNoFile_data()
    {
        QTest::addColumn<bool>("abort");
        QTest::newRow("aborted") << true;
        QTest::newRow("never ended") << false;
    }

    void abandonedDocumentLeavesNoFile()
    {
        QFETCH(bool, abort);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("half.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        {
            QPrinterTarget target(printer);
            target.setFont(14, true);
            target.printLine(QStringLiteral("Appointment Schedule"));
            target.newPage();
            if (abort)
                target.abort();
        }
        QVERIFY(!QFile::exists(path));
    }

    void failureAtTheEndCancelsTheJob()
    {
        // Every line went to the printer, which then failed: the job is cancelled, so that a
        // retried day is not printed twice.
        FailingAtEnd driver;
        DriverPrinter printer(driver);
        QPrinterTarget target(printer);
        target.printLine(QStringLiteral("Appointment Schedule"));
        try {
            target.endDoc();
            QFAIL("a document the printer could not finish was reported as printed");
        } catch (const PrintError& e) {
            QCOMPARE(e.description(), QStringLiteral("The printer reported an error at the end of the document"));
        }
        QVERIFY(!driver.cancelled);
        target.abort();
        QVERIFY(driver.cancelled);
    }
};

QTEST_MAIN(tst_qprintertarget)
#include "tst_qprintertarget.moc"
