// The Debian package as a new user gets it: built, unpacked into a bare folder, and started
// with a home folder of its own, where it must make the user's db.mdb from the shipped one.
#include "common/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs a tool to its end; its standard output, or a failed check.
QString run(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qWarning("%s failed:\n%s", qPrintable(program), p.readAll().constData());
    return p.exitCode() == 0 ? QString::fromLocal8Bit(p.readAll()) : QString();
}

}  // namespace

class tst_package : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
        const QString out = dir_.filePath("out");
        run(CALVORA_CPACK, {"-G", "DEB", "--config", CALVORA_BUILD_DIR "/CPackConfig.cmake", "-B", out},
            dir_.path());
        const QStringList debs = QDir(out).entryList({"calvora_*.deb"});
        QCOMPARE(debs.size(), 1);
        deb_ = QDir(out).filePath(debs.first());
        root_ = dir_.filePath("root");
        run("dpkg-deb", {"-x", deb_, root_});
        // The same files under any other prefix.
        prefix_ = dir_.filePath("opt/calvora");
        run(CALVORA_CMAKE, {"--install", CALVORA_BUILD_DIR, "--prefix", prefix_});
    }

    void contents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("holds");
        QTest::addColumn<bool>("installed");  // by cmake --install under another prefix, not the package
        const QList<std::tuple<const char*, QString, QStringList>> files{
            {"program", "usr/bin/calvora", {}},
            {"shipped database", "usr/share/calvora/db.mdb", {"SQLite format 3"}},
            {"menu entry", "usr/share/applications/calvora.desktop",
             {"\nName=Calvora\n", "\nCategories=Office;", "\nExec=calvora\n", "\nIcon=calvora\n", "\nComment="}},
            {"icon, drawn", "usr/share/icons/hicolor/scalable/apps/calvora.svg", {"<svg"}},
            {"icon, 48 pixels", "usr/share/icons/hicolor/48x48/apps/calvora.png", {"PNG"}},
            {"icon, 256 pixels", "usr/share/icons/hicolor/256x256/apps/calvora.png", {"PNG"}},
            {"licence", "usr/share/doc/calvora/copyright", {"END-USER LICENCE AGREEMENT"}},
        };
        for (bool installed : {false, true})
            for (const auto& [what, path, holds] : files)
                QTest::addRow("%s: %s", installed ? "prefix" : "package", what) << path << holds << installed;
    }

    void contents()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, holds);
        QFETCH(bool, installed);
        const QString file = installed ? prefix_ + "/" + path.mid(4) : root_ + "/" + path;
        QVERIFY2(QFileInfo(file).isFile(), qPrintable(file));
        const QString content = QString::fromLatin1(readAll(file));
        for (const QString& line : holds)
            QVERIFY2(content.contains(line), qPrintable(line));
        if (path == "usr/bin/calvora")
            QVERIFY(QFileInfo(file).isExecutable());
        if (path.endsWith("db.mdb"))
            QCOMPARE(readAll(file), readAll(CALVORA_SEED_DB));
    }

    void firstStartOfTheInstalledProgram_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("unpacked package") << false;
        QTest::newRow("installed under another prefix") << true;
    }

    void firstStartOfTheInstalledProgram()
    {
        QFETCH(bool, installed);
        QVERIFY(run("dpkg-deb", {"-f", deb_, "Depends"}).contains("libqt6sql6-sqlite"));
        const QString home = dir_.filePath(installed ? "home-prefix" : "home-package");
        const QString data = home + "/.local/share/Calvora";
        const QString top = installed ? prefix_ : root_ + "/usr";
        const QString shipped = top + "/share/calvora/db.mdb";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.remove("XDG_DATA_HOME");
        env.insert("QT_QPA_PLATFORM", "offscreen");

        // The program waits on its splash screen; each start is ended once it holds its lock.
        auto start = [&] {
            QProcess program;
            program.setProcessEnvironment(env);
            program.start(top + "/bin/calvora", {});
            QVERIFY(program.waitForStarted());
            QTRY_COMPARE_WITH_TIMEOUT(lockHolder(data + "/db.mdb.lock"), program.processId(), 20000);
            program.kill();
            program.waitForFinished();
        };

        start();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(readAll(data + "/db.mdb"), readAll(shipped));

        // A second start, after an update brought a newer shipped file, keeps the user's own (and
        // takes over the lock the killed copy left).
        const QByteArray own = readAll(data + "/db.mdb");
        QFile::setPermissions(shipped, QFile::ReadOwner | QFile::WriteOwner);
        QFile newer(shipped);
        QVERIFY(newer.open(QIODevice::Append));
        newer.write("a newer shipped file");
        newer.close();
        start();
        QCOMPARE(readAll(data + "/db.mdb"), own);
    }

    void installedProgramSpeaksGerman_data()
    {
        firstStartOfTheInstalledProgram_data();
    }

    // Its translations travel inside the program; Qt's own come from the package it recommends.
    void installedProgramSpeaksGerman()
    {
        QFETCH(bool, installed);
        QVERIFY(run("dpkg-deb", {"-f", deb_, "Recommends"}).contains("qt6-translations-l10n"));
        const QString top = installed ? prefix_ : root_ + "/usr";
        QProcess program;
        program.start(top + "/bin/calvora", {"--lang", "de", "--help"});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 0);
        const QString help = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(help.startsWith("Aufruf: calvora [Optionen]\n"), qPrintable(help));
        QVERIFY2(help.contains("  --lang <Sprache>"), qPrintable(help));
    }

private:
    QTemporaryDir dir_;
    QString deb_;
    QString root_;
    QString prefix_;
};

QTEST_GUILESS_MAIN(tst_package)
#include "tst_package.moc"
