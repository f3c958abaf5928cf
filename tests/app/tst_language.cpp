// The languages the program speaks: which one a desktop gets, that each translation is
// complete and keeps what the code and the user rely on (its arguments, its access key, the
// keys it names), and that choosing one puts the program and Qt's dialogs into it.
#include "app/language.h"
#include "common/german.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <clocale>
#include <libpq-fe.h>

namespace {

// One message of a .ts file as lupdate left it.
struct Message {
    QString context;
    QString source;
    QStringList translations;  // one, or the plural forms
    QString type;              // "unfinished", "vanished", "obsolete" or empty
};

QList<Message> readCatalogue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            m = Message{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            m.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            // Plural forms stand in <numerusform> elements; a plain one is the element's text.
            QString text;
            while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != QLatin1String("translation")) {
                if (xml.isCharacters())
                    text += xml.text();
                else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    m.translations << xml.readElementText();
            }
            if (m.translations.isEmpty())
                m.translations << text;
            messages << m;
        }
    }
    return messages;
}

QString catalogue(const QString& code)
{
    return QStringLiteral(CALVORA_SOURCE_DIR "/translations/calvora_%1.ts").arg(code);
}

QString where(const Message& m)
{
    return QStringLiteral("%1: \"%2\"").arg(m.context, m.source);
}

QSet<QString> arguments(const QString& text)
{
    QSet<QString> found;
    static const QRegularExpression argument(QStringLiteral("%(\\d)"));
    for (const QRegularExpressionMatch& a : argument.globalMatch(text))
        found << a.captured();
    return found;
}

// The letter after a single "&", or nothing.
QString accessKey(const QString& text)
{
    static const QRegularExpression key(QStringLiteral("(?<!&)&([^&\\s])"));
    return key.match(text).captured(1);
}

QStringList functionKeys(const QString& text)
{
    QStringList keys;
    static const QRegularExpression key(QStringLiteral("\\bF\\d{1,2}\\b"));
    for (const QRegularExpressionMatch& k : key.globalMatch(text))
        keys << k.captured();
    return keys;
}

}  // namespace

class tst_language : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        language::use(QStringLiteral("en"));
    }

    void desktopsLanguage_data()
    {
        QTest::addColumn<QStringList>("environment");  // NAME=value
        QTest::addColumn<QString>("language");
        QTest::newRow("German desktop") << QStringList{"LANG=de_DE.UTF-8"} << "de";
        QTest::newRow("Austrian, with a modifier") << QStringList{"LANG=de_AT@euro"} << "de";
        QTest::newRow("messages in English on a German desktop")
            << QStringList{"LANG=de_DE.UTF-8", "LC_MESSAGES=en_GB.UTF-8"} << "en";
        QTest::newRow("LC_ALL over the rest") << QStringList{"LANG=en_US.UTF-8", "LC_MESSAGES=en_US.UTF-8", "LC_ALL=de_CH.UTF-8"}
                                              << "de";
        QTest::newRow("LANGUAGE's first spoken one") << QStringList{"LANG=fr_FR.UTF-8", "LANGUAGE=fr:de:en"} << "de";
        QTest::newRow("the C locale ignores LANGUAGE") << QStringList{"LC_ALL=C.UTF-8", "LANGUAGE=de"} << "en";
        QTest::newRow("a language Calvora does not speak") << QStringList{"LANG=fr_FR.UTF-8"} << "en";
        QTest::newRow("nothing set") << QStringList{} << "en";
    }

    void desktopsLanguage()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, language);
        QProcessEnvironment env;
        for (const QString& e : environment)
            env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
        QCOMPARE(language::fromEnvironment(env), language);
    }

    void catalogueMatchesTheCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("pluralsOnly");
        QTest::newRow("German") << "de" << false;
        QTest::newRow("English plural forms") << "en" << true;
    }

    // lupdate on a copy of the catalogue, as `update_translations` would run it: every text of
    // the code is there and translated, and nothing is left that the code no longer has.
    void catalogueMatchesTheCode()
    {
        QFETCH(QString, code);
        QFETCH(bool, pluralsOnly);
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("calvora_%1.ts").arg(code));
        QVERIFY(QFile::copy(catalogue(code), copy));
        QStringList arguments{"-locations", "none", "-I", CALVORA_SOURCE_DIR "/src", "@" CALVORA_SOURCES_LIST,
                              "-ts", copy};
        if (pluralsOnly)
            arguments.prepend("-pluralonly");
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(CALVORA_LUPDATE, arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        const QString said = QString::fromLocal8Bit(lupdate.readAll());
        QVERIFY2(lupdate.exitCode() == 0, qPrintable(said));
        // lupdate's count of the source texts and of those already in the catalogue.
        qInfo().noquote() << said.trimmed();
        QVERIFY2(!said.contains(QLatin1String("warning"), Qt::CaseInsensitive), qPrintable(said));

        QStringList faults;
        const QList<Message> messages = readCatalogue(copy);
        QVERIFY(!messages.isEmpty());
        for (const Message& m : messages) {
            if (m.type == QLatin1String("unfinished"))
                faults << QStringLiteral("not translated: %1").arg(where(m));
            else if (!m.type.isEmpty())
                faults << QStringLiteral("no longer in the code (%1): %2").arg(m.type, where(m));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n%1\nRun `cmake --build build --target update_translations`, "
                                                             "then translate in Qt Linguist.")
                                                  .arg(faults.join(u'\n'))));
    }

    // A translation keeps the source's arguments (each %1 ... in every plural form but the
    // singular, which may spell its number out), an access key where the source has one, and
    // the function keys and shortcut letters it names, so that what it says still works.
    void translationsKeepWhatTheyNeed()
    {
        QStringList faults;
        for (const QString& code : {QStringLiteral("de"), QStringLiteral("en")}) {
            for (const Message& m : readCatalogue(catalogue(code))) {
                for (qsizetype i = 0; i < m.translations.size(); ++i) {
                    const QString& t = m.translations[i];
                    QSet<QString> wanted = arguments(m.source);
                    if (i == 0 && m.translations.size() > 1)
                        wanted.remove(QStringLiteral("%n"));
                    if (!arguments(t).contains(wanted) || !wanted.contains(arguments(t)))
                        faults << QStringLiteral("%1 [%2]: the arguments differ").arg(where(m), code);
                    if (accessKey(m.source).isEmpty() != accessKey(t).isEmpty())
                        faults << QStringLiteral("%1 [%2]: the access key is lost or added").arg(where(m), code);
                    if (functionKeys(m.source) != functionKeys(t))
                        faults << QStringLiteral("%1 [%2]: the function keys differ").arg(where(m), code);
                    // "Cut\tCtrl+X": the shortcut's key stays the key the menu answers to.
                    const auto key = [](const QString& text) { return text.section(u'\t', 1).section(u'+', -1); };
                    if (m.source.contains(u'\t') && key(m.source) != key(t))
                        faults << QStringLiteral("%1 [%2]: the shortcut's key differs").arg(where(m), code);
                }
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void chosenLanguageIsSpoken_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("yes");      // the search panel's Yes
        QTest::addColumn<QString>("oneCell");  // a plural form
        QTest::addColumn<QString>("qtYes");    // Qt's own Yes button
        QTest::newRow("German") << "de" << "de" << "&Ja" << "1 Zelle" << "&Ja";
        QTest::newRow("English") << "en" << "en" << "&Yes" << "1 cell" << "&Yes";
        QTest::newRow("a language not spoken") << "xx" << "en" << "&Yes" << "1 cell" << "&Yes";
    }

    void chosenLanguageIsSpoken()
    {
        QFETCH(QString, asked);
        QFETCH(QString, spoken);
        QFETCH(QString, yes);
        QFETCH(QString, oneCell);
        QFETCH(QString, qtYes);
        language::use(asked);
        QCOMPARE(language::current(), spoken);
        QCOMPARE(QCoreApplication::translate("ClientSearch", "&Yes"), yes);
        QCOMPARE(QCoreApplication::translate("frmHits", "%n cell(s)", "stands in ...", 1), oneCell);
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
            QSKIP("Qt's translations (qt6-translations-l10n) are not installed");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), qtYes);
    }

    // The server's failures are told apart by libpq's words (a password it lacks, a server not
    // running); on a German desktop libpq would otherwise say them in German.
    void libpqKeepsToEnglish()
    {
        if (const QString why = germanLocaleMissing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QByteArray was = std::setlocale(LC_MESSAGES, nullptr);
        QVERIFY(std::setlocale(LC_MESSAGES, "de_DE.UTF-8"));
        language::use(QStringLiteral("de"));
        PGconn* conn = PQconnectdb("host=/nonexistent/calvora-socket connect_timeout=2");
        const QString said = QString::fromUtf8(PQerrorMessage(conn));
        PQfinish(conn);
        std::setlocale(LC_MESSAGES, was.constData());
        QVERIFY2(said.contains(QLatin1String("Is the server running locally")), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(tst_language)
#include "tst_language.moc"
