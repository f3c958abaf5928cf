// One desk in a process of its own: the program's day page on the server and day its
// arguments name, driven by the test line by line on its standard input, as a user would at
// the keyboard and a screen reader would read it. Each command answers one line.
//   type ROW COL TEXT   types TEXT into a grid cell and presses Enter
//   store               stores the page (what leaving it or moving to another does)
//   cell ROW COL        the cell's text on screen
//   date YYYY-MM-DD     opens that day through Open Page, as typed into its box
//   status              the page's status line
//   stall               the longest time, in ms, the desk's event loop did not turn
//   answer BUTTON...    names the buttons to press, in order, when the program asks which
//                       of two desks' texts to keep
//   quit
#include "navigation/PageNavigation.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QAccessible>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSocketNotifier>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The accessible object of a name under `root`, as assistive tools find it.
QAccessibleInterface* findByName(QAccessibleInterface* root, const QString& name, QAccessible::Role role)
{
    if (!root)
        return nullptr;
    if (root->role() == role && root->text(QAccessible::Name).remove(u'&') == name)
        return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* found = findByName(root->child(i), name, role))
            return found;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        say(QStringLiteral("usage: deskdriver CONNINFO YYYY-MM-DD FOLDER"));
        return 2;
    }
    program::setServer(QString::fromUtf8(argv[1]));
    program::setToday(QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate));
    program::setFolder(QString::fromLocal8Bit(argv[3]));
    program::registerScreens();
    auto* form = static_cast<frmAppt*>(createDayPage());
    if (!form) {
        say(QStringLiteral("failed"));
        return 1;
    }
    form->show();
    QAccessible::setActive(true);

    QStringList buttons;
    int asked = 0;
    QStringList seen;
    // The question about both desks' texts is a window of its own: it is read and answered
    // through the accessibility tree once it shows.
    QTimer answerer;
    QPointer<QWidget> handled;
    answerer.setInterval(20);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != QLatin1String("frmConflicts") || dialog == handled)
            return;
        handled = dialog;
        ++asked;
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(dialog);
        if (QAccessibleInterface* table = findByName(root, QStringLiteral("Entries changed on both desks"),
                                                     QAccessible::Table);
            table && table->tableInterface()) {
            QAccessibleTableInterface* t = table->tableInterface();
            for (int r = 0; r < t->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < t->columnCount(); ++c)
                    cells << t->cellAt(r, c)->text(QAccessible::Name);
                seen << cells.join(u'|');
            }
        }
        for (const QString& name : buttons) {
            QAccessibleInterface* button = findByName(root, name, QAccessible::Button);
            if (button && button->actionInterface())
                button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
    });
    answerer.start();

    // A heartbeat: the longest gap between its beats is how long the desk stood still.
    QElapsedTimer beat;
    qint64 stall = 0;
    QTimer heart;
    QObject::connect(&heart, &QTimer::timeout, [&] { stall = std::max(stall, beat.restart()); });
    beat.start();
    heart.start(20);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QTextStream in(stdin);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        const QString line = in.readLine();
        if (line.isNull() || line == QLatin1String("quit")) {
            input.setEnabled(false);
            // Ends without the menu's question of a real exit; the test reads the book.
            QCoreApplication::exit(0);
            return;
        }
        const QStringList words = line.split(u' ');
        const QString command = words.value(0);
        FlexGrid* grid = form->Grid1;
        if (command == QLatin1String("type")) {
            grid->setFocus();
            grid->setRow(words.value(1).toInt());
            grid->setCol(words.value(2).toInt());
            const QString text = words.mid(3).join(u' ');
            QTest::keyClick(grid, text.at(0).toLatin1());
            QTest::keyClicks(form->txtEdit, text.mid(1));
            QTest::keyClick(form->txtEdit, Qt::Key_Return);
            say(QStringLiteral("ok"));
        } else if (command == QLatin1String("store")) {
            asked = 0;
            seen.clear();
            try {
                form->SavePage();
            } catch (const std::exception& e) {
                say(QStringLiteral("failed ") + QString::fromUtf8(e.what()).replace(u'\n', u' '));
                return;
            }
            say(QStringLiteral("asked %1%2").arg(asked).arg(seen.isEmpty() ? QString() : QLatin1Char(' ') + seen.join(u';')));
        } else if (command == QLatin1String("cell")) {
            say(grid->TextMatrix(words.value(1).toInt(), words.value(2).toInt()));
        } else if (command == QLatin1String("date")) {
            // Types the date into the Open Page box once it shows.
            const QString date = words.value(1);
            auto* typer = new QTimer(form);
            typer->setInterval(10);
            QObject::connect(typer, &QTimer::timeout, [typer, date] {
                if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                    box->setTextValue(date);
                    box->accept();
                    typer->deleteLater();
                }
            });
            typer->start();
            form->findChild<PageNavigation*>()->mnuPageOpen_Click();
            say(form->PageDate.toString(Qt::ISODate));
        } else if (command == QLatin1String("status")) {
            say(form->lblStatus->text());
        } else if (command == QLatin1String("stall")) {
            say(QString::number(stall));
        } else if (command == QLatin1String("answer")) {
            buttons = words.mid(1);
            for (QString& b : buttons)
                b.replace(u'_', u' ');
            say(QStringLiteral("ok"));
        } else {
            say(QStringLiteral("unknown ") + command);
        }
    });
    say(QStringLiteral("ready"));
    return app.exec();
}
