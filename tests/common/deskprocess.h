#pragma once
// The program's day page in a process of its own (tests/desks/driver), driven line by line
// on its standard input as a desk a test talks to; see the driver for its commands.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class TestBook;

class DeskProcess {
public:
    // The desk's own folder (its journal and settings), or `folder` when given: a desk started
    // again on the same computer.
    explicit DeskProcess(TestBook& book, const QString& folder = {});
    ~DeskProcess();
    DeskProcess(const DeskProcess&) = delete;
    DeskProcess& operator=(const DeskProcess&) = delete;

    // The desk's one-line answer to `command`.
    QString send(const QString& command);
    // Killed as a crash or a pulled plug would: nothing runs on the way out.
    void kill();
    bool ready = false;

private:
    QString line();
    QTemporaryDir folder_;
    QProcess process_;
};
