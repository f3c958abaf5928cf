// Every screen in German, as a German desktop shows it: no text left in English, and no
// caption wider than its control at the screen's own size. Runs under de_DE.UTF-8, so that
// the dates are German too. CALVORA_SCREENSHOTS=<folder> keeps a picture of each window.
#include "app/form.h"
#include "app/language.h"
#include "app/screens.h"
#include "common/german.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "maintenance/frmBackup.h"
#include "navigation/CellHistory.h"
#include "navigation/ClientSearch.h"
#include "navigation/MemoPanel.h"
#include "navigation/PageCommands.h"
#include "page/frmAppt.h"
#include "page/frmConflicts.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "printing/PrintPanel.h"
#include "program.h"
#include "setup/frmConfigure.h"
#include "storage/database.h"
#include "storage/settings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolBar>
#include <QXmlStreamReader>

Q_DECLARE_METATYPE(Screen)

namespace {

// Names and words that stay as they are in every language.
const QStringList allowedWords = {"Calvora", "OK", "Norlyn", "Software", "SoftWare"};

QStringList wordsOf(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
    QStringList words;
    for (const QRegularExpressionMatch& m : word.globalMatch(text))
        words << m.captured().toLower();
    return words;
}

// The English words of the program's texts that no German text uses: a text holding one is
// English. Read from the German catalogue, whose sources are the program's English texts.
QSet<QString> englishWords()
{
    QFile file(QStringLiteral(CALVORA_SOURCE_DIR "/translations/calvora_de.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> english;
    QSet<QString> german;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            for (const QString& w : wordsOf(xml.readElementText()))
                english << w;
        } else if (xml.name() == QLatin1String("translation") || xml.name() == QLatin1String("numerusform")) {
            for (const QString& w : wordsOf(xml.readElementText(QXmlStreamReader::IncludeChildElements)))
                german << w;
        }
    }
    for (const QString& w : allowedWords)
        german << w.toLower();
    return english - german;
}

// What a user sees of a caption: without its access key marker and its shortcut column.
QString shown(QString text)
{
    return text.section(u'\t', 0, 0).replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(
        u'\x01', u'&');
}

// One text on screen and where it stands.
struct Seen {
    QString where;
    QString text;
};

QString place(const QObject* o)
{
    QStringList path;
    for (; o; o = o->parent())
        if (!o->objectName().isEmpty())
            path.prepend(o->objectName());
    return path.join(u'/');
}

bool onScreen(const QWidget* w)
{
    return w->isVisible() && !w->visibleRegion().isEmpty();
}

// Every text a user can read in a window: captions, lists, headings, menus and tool tips.
// The grid and the text boxes hold the user's data and are not read.
QList<Seen> textsIn(QWidget* window)
{
    QList<Seen> seen{{place(window) + QStringLiteral(" (title)"), window->windowTitle()}};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !onScreen(w))
            continue;
        const QString at = place(w);
        if (auto* l = qobject_cast<QLabel*>(w))
            seen << Seen{at, l->text()};
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            seen << Seen{at, b->text()};
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            seen << Seen{at, g->title()};
        else if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                seen << Seen{at, c->itemText(i)};
        else if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                seen << Seen{at, h->model()->headerData(i, h->orientation()).toString()};
        if (!w->toolTip().isEmpty())
            seen << Seen{at + QStringLiteral(" (tool tip)"), w->toolTip()};
    }
    QList<QAction*> actions;
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        actions << bar->actions();
    for (QMenu* menu : window->findChildren<QMenu*>())
        actions << menu->actions();
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        actions << bar->actions();
    for (QAction* a : actions)
        if (a->isVisible() && !a->isSeparator()) {
            seen << Seen{place(a), a->text()};
            if (a->toolTip() != shown(a->text()))
                seen << Seen{place(a) + QStringLiteral(" (tool tip)"), a->toolTip()};
        }
    return seen;
}

// Captions that do not fit the room their control gives them, at the window's own size.
QStringList cutOff(QWidget* window)
{
    QStringList faults;
    auto fault = [&](QWidget* w, const QString& text, int needed, int room) {
        faults << QStringLiteral("%1: \"%2\" needs %3 pixels, has %4").arg(place(w), text).arg(needed).arg(room);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !onScreen(w))
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && l->pixmap().isNull()) {
            const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
            if (l->wordWrap()) {
                if (const int needed = l->heightForWidth(l->width()); needed > l->height())
                    faults << QStringLiteral("%1: \"%2\" needs %3 pixels of height, has %4")
                                  .arg(place(l), l->text()).arg(needed).arg(l->height());
            } else {
                for (const QString& line : shown(l->text()).split(u'\n'))
                    if (const int needed = fm.horizontalAdvance(line); needed > room.width())
                        fault(l, line, needed, room.width());
            }
        } else if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty()) {
            QStyleOptionButton option;
            option.initFrom(b);
            const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
            if (const int needed = fm.horizontalAdvance(shown(b->text())); needed > room.width())
                fault(b, b->text(), needed, room.width());
        } else if (auto* r = qobject_cast<QRadioButton*>(w); r && !r->text().isEmpty()) {
            if (const int needed = r->sizeHint().width(); needed > r->width())
                fault(r, r->text(), needed, r->width());
        } else if (auto* c = qobject_cast<QCheckBox*>(w); c && !c->text().isEmpty()) {
            if (const int needed = c->sizeHint().width(); needed > c->width())
                fault(c, c->text(), needed, c->width());
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            const QRect room =
                list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
            for (int i = 0; i < list->count(); ++i)
                if (const int needed = fm.horizontalAdvance(list->itemText(i)); needed > room.width())
                    fault(list, list->itemText(i), needed, room.width());
        }
    }
    return faults;
}

QList<QWidget*> openWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<QMenu*>(w))
            windows << w;
    return windows;
}

}  // namespace

class tst_germanscreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SKIP_IF_GERMAN_LOCALE_MISSING();
        QVERIFY2(QLocale::system().language() == QLocale::German, "runs on a German desktop (LC_ALL=de_DE.UTF-8)");
        language::use(QStringLiteral("de"));
        QCOMPARE(language::current(), QStringLiteral("de"));
        english_ = englishWords();
        QVERIFY(english_.contains(QStringLiteral("appointment")));
        program::setToday(QDate(2030, 3, 5));
        program::registerScreens();
    }

    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<Form*>(w))
                w->close();
        closeAllScreens();
    }

    void everyScreenInGerman_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<int>("step");  // what is opened on the screen after it shows
        QTest::newRow("splash") << Screen::Splash << 0;
        QTest::newRow("menu") << Screen::Menu << 0;
        QTest::newRow("day page") << Screen::Appt << 0;
        QTest::newRow("day page: print and search panels, fixed memo, found cells") << Screen::Appt << 1;
        QTest::newRow("day page: history of a cell on a locked page") << Screen::Appt << 2;
        QTest::newRow("day page: changes of the day") << Screen::Appt << 3;
        QTest::newRow("day page: changed on another desk, entries changed on both") << Screen::Appt << 4;
        QTest::newRow("set-up page") << Screen::Setup << 0;
        QTest::newRow("template editor") << Screen::Configure << 0;
        QTest::newRow("template editor: its help, on Sunday") << Screen::Configure << 1;
        QTest::newRow("backup") << Screen::Backup << 0;
        QTest::newRow("backup: both finished") << Screen::Backup << 1;
        QTest::newRow("backup: both under way") << Screen::Backup << 2;
        QTest::newRow("readme") << Screen::Readme << 0;
        QTest::newRow("readme: the licence") << Screen::Readme << 1;
        QTest::newRow("help") << Screen::Help << 0;
    }

    void everyScreenInGerman()
    {
        QFETCH(Screen, screen);
        QFETCH(int, step);
        TestFolder folder;
        ScriptedDialogs dialogs;
        Form* form = screens::show(screen);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QList<PageConflict> conflicts(2);
        conflicts[1].kind = PageConflict::Memo;
        for (PageConflict& c : conflicts) {
            c.theirs = QStringLiteral("Moreau");
            c.mine = QStringLiteral("Lee");
        }

        if (auto* page = qobject_cast<frmAppt*>(form)) {
            if (step == 1) {
                page->findChild<PrintPanel*>()->ShowPrintPanel();
                page->findChild<MemoPanel*>()->cmdMemo_Click();
                page->findChild<PageCommands*>()->cmdDemo_Click();
                auto* search = page->findChild<ClientSearch*>();
                search->SearchName = QStringLiteral("Moreau");
                search->ShowSearchResult();
                search->cmdAll_Click();
                QVERIFY(search->hits());
            } else if (step == 2) {
                page->Check2->setChecked(true);
                page->findChild<CellHistory*>()->showCell(0, 0);
            } else if (step == 3) {
                page->findChild<CellHistory*>()->mnuEditDayChanges_Click();
            } else if (step == 4) {
                page->lblOtherDesk->show();
                auto* question = new frmConflicts(page, page->PageDate, conflicts, [](const PageConflict&) {
                    return std::pair<QString, QString>(QStringLiteral("9:00"), QStringLiteral("Moreau"));
                });
                question->show();
                QVERIFY(QTest::qWaitForWindowExposed(question));
            }
        } else if (auto* templates = qobject_cast<frmConfigure*>(form); templates && step == 1) {
            for (int day = 1; day < 7; ++day)
                templates->CmdFinish_Click();
            QTest::keyClick(templates->focusWidget(), Qt::Key_F1);
            QVERIFY(templates->lblHelp->isVisible());
        } else if (auto* backup = qobject_cast<frmBackup*>(form); backup && step > 0) {
            for (QLabel* l : {backup->lblBackupComplete, backup->lblRestoreComplete})
                l->setVisible(step == 1);
            for (QLabel* l : {backup->lblBacking, backup->lblBackup, backup->lblRestoring})
                l->setVisible(step == 2);
            backup->lblBackup->setText(QDir::toNativeSeparators(QStringLiteral("/media/usb/db.mdb")));
        } else if (screen == Screen::Readme && step == 1) {
            form->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
        QTest::qWait(50);
        QCoreApplication::processEvents();

        // The data the book shows stays as stored: its location word, sites and names.
        QSet<QString> data;
        {
            storage::Database book(program::bookLocation());
            const storage::Settings settings = storage::readSettings(book);
            for (const QString& text : {settings.layout.location, settings.layout.sites, settings.layout.names})
                for (const QString& w : wordsOf(text))
                    data << w;
        }

        QStringList english;
        QStringList cut;
        const QString pictures = qEnvironmentVariable("CALVORA_SCREENSHOTS");
        for (QWidget* window : openWindows()) {
            for (const Seen& s : textsIn(window)) {
                for (const QString& w : wordsOf(shown(s.text)))
                    if (english_.contains(w) && !data.contains(w)) {
                        english << QStringLiteral("%1: \"%2\"").arg(s.where, s.text);
                        break;
                    }
            }
            cut << cutOff(window);
            if (!pictures.isEmpty()) {
                QDir().mkpath(pictures);
                window->grab().save(QStringLiteral("%1/%2-%3.png").arg(pictures, QTest::currentDataTag(), window->objectName())
                                        .replace(u':', u'-').replace(u' ', u'_'));
            }
        }
        QVERIFY2(english.isEmpty(), qPrintable(QStringLiteral("left in English:\n") + english.join(u'\n')));
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("cut off:\n") + cut.join(u'\n')));
    }

private:
    QSet<QString> english_;
};

QTEST_MAIN(tst_germanscreens)
#include "tst_germanscreens.moc"
