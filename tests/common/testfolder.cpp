#include "common/testfolder.h"

#include "platform/programfolder.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWidget>

namespace {
QString& seedPath()
{
    static QString path = QStringLiteral(CALVORA_SEED_DB);
    return path;
}
}  // namespace

QString seedDatabase()
{
    return seedPath();
}

void setSeedDatabase(const QString& path)
{
    seedPath() = path;
}

TestFolder::TestFolder()
{
    if (!dir_.isValid())
        qFatal("cannot make a temporary folder");
    if (!QFile::copy(seedDatabase(), databasePath()))
        qFatal("cannot copy the seed database");
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    program::setFolder(dir_.path());
}

TestFolder::~TestFolder()
{
    program::setFolder(QString());
}

QString TestFolder::databasePath() const
{
    return dir_.filePath(QStringLiteral("db.mdb"));
}

void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QVERIFY2(target, "no widget has the focus");
    QTest::keyClick(target, key, modifiers);
    QCoreApplication::processEvents();
}

void typeText(const QString& text)
{
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "no widget has the focus");
        QTest::keyClick(target, c.toLatin1());
        // A keystroke posted by a handler arrives before the next key, as it does for a typist.
        QCoreApplication::processEvents();
    }
}
