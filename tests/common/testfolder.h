#pragma once
// A fresh program folder for one test: a temporary directory holding a db.mdb made from the
// seed, set as the program's folder, and removed afterwards.
#include <QString>
#include <QTemporaryDir>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString databasePath() const;

private:
    QTemporaryDir dir_;
};

// The seed database that fresh program folders are made from; a test run that cannot reach
// the build's own copy points it at another.
QString seedDatabase();
void setSeedDatabase(const QString& path);

// Sends a key press and release to the widget that has the focus, as a user's key would
// arrive (the form's key preview sees it first).
void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(const QString& text);
