// Alt and a letter: every window of the program, opened through the screen registry with its
// panels shown, gives each letter to one control or menu at most, so that the letter does
// what its caption says.
#include "app/form.h"
#include "app/screens.h"
#include "common/german.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "navigation/ClientSearch.h"
#include "navigation/frmHits.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "printing/PrintPanel.h"
#include "program.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>

Q_DECLARE_METATYPE(Screen)

namespace {

// What a user can reach by one letter in one place, and who claims it.
class Letters {
public:
    explicit Letters(QString place) : place_(std::move(place)) {}

    void claim(const QString& caption, const QString& owner)
    {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty())
            return;
        const QString letter = key.toString(QKeySequence::PortableText);
        if (const auto it = owners_.constFind(letter); it != owners_.cend())
            clashes_ << QStringLiteral("%1: %2 for \"%3\" and \"%4\"").arg(place_, letter, *it, owner);
        else
            owners_.insert(letter, owner);
    }
    QStringList clashes() const { return clashes_; }

private:
    QString place_;
    QHash<QString, QString> owners_;
    QStringList clashes_;
};

QString owner(const QObject* o, const QString& caption)
{
    return o->objectName().isEmpty() ? caption : QStringLiteral("%1 %2").arg(o->objectName(), caption);
}

bool reachable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled();
}

// The letters of one window's controls and menu titles, then of each of its menus.
QStringList clashesIn(QWidget* window)
{
    const QString name = window->objectName();
    Letters controls(name);
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (w->window() != window || !reachable(w))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            controls.claim(b->text(), owner(b, b->text()));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            controls.claim(g->title(), owner(g, g->title()));
        } else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) {
            controls.claim(l->text(), owner(l, l->text()));
        } else if (auto* t = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < t->count(); ++i)
                if (t->isTabVisible(i) && t->isTabEnabled(i))
                    controls.claim(t->tabText(i), owner(t, t->tabText(i)));
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QAction* a : bar->actions())
                if (a->isVisible() && a->isEnabled())
                    controls.claim(a->text(), owner(a->menu() ? a->menu() : static_cast<QObject*>(a), a->text()));
        }
    }
    QStringList clashes = controls.clashes();
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        Letters items(QStringLiteral("%1 menu %2").arg(name, menu->title()));
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->isEnabled() && !a->isSeparator())
                items.claim(a->text(), owner(a, a->text()));
        clashes << items.clashes();
    }
    return clashes;
}

}  // namespace

class tst_mnemonics : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SKIP_IF_GERMAN_LOCALE_MISSING();
        program::setToday(QDate(2030, 3, 5));
        program::registerScreens();
    }

    void cleanup()
    {
        closeAllScreens();
    }

    void eachLetterOnce_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("splash") << Screen::Splash;
        QTest::newRow("menu") << Screen::Menu;
        QTest::newRow("day page, search and print panels, list of found cells") << Screen::Appt;
        QTest::newRow("set-up page") << Screen::Setup;
        QTest::newRow("template editor") << Screen::Configure;
        QTest::newRow("backup") << Screen::Backup;
        QTest::newRow("readme") << Screen::Readme;
        QTest::newRow("help") << Screen::Help;
    }

    void eachLetterOnce()
    {
        QFETCH(Screen, screen);
        TestFolder folder;
        ScriptedDialogs dialogs;
        Form* form = screens::show(screen);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QList<QWidget*> windows{form};
        if (auto* page = qobject_cast<frmAppt*>(form)) {
            // Every panel at once, as a user can have them: the search's question and the print
            // panel beside the memos, and the list of found cells in its own window.
            page->findChild<PrintPanel*>()->ShowPrintPanel();
            page->Frame2->show();
            auto* search = page->findChild<ClientSearch*>();
            search->SearchName = QStringLiteral("Ann");
            search->cmdAll_Click();
            QVERIFY(search->hits());
            windows << search->hits();
            QVERIFY(page->findChild<QWidget*>(QStringLiteral("Frame3"))->isVisible());
            QVERIFY(page->Frame2->isVisible());
        }
        QStringList clashes;
        for (QWidget* w : windows)
            clashes << clashesIn(w);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(tst_mnemonics)
#include "tst_mnemonics.moc"
