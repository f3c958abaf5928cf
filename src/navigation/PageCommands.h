#pragma once
// The day page's own commands: help (F1), the ring of demo pages (F2), the page lock (F3),
// F5, the Help menu with About, and the toolbar, whose buttons run the menu commands of
// the same names.
#include <QDate>
#include <QObject>

class QPushButton;
class QToolBar;
class frmAppt;

class PageCommands : public QObject {
    Q_OBJECT
public:
    explicit PageCommands(frmAppt& form);

    QToolBar* tbToolBar;
    QPushButton* cmdDemo;  // its caption names the demo page the next press shows

    void cmdDemo_Click();
    void mnuHelpAbout_Click();
    void mnuHelpContent_Click();
    // F3: the page lock flips.
    void flipPageLock();
    // A toolbar button by its key ("Open", "Print", ...): triggers the menu command of the
    // same meaning; a key without one, or a command not on the page, does nothing.
    void tbToolBar_ButtonClick(const QString& key);

    // The About message: the program's version, its home page and the database in use.
    static QString aboutText(const QString& connectedTo = QString());

private:
    bool handleKey(int keyCode, int shift);
    void buildToolBar();

    frmAppt& form_;
    // The demo page the last press showed (invalid before the first).
    QDate shownDemo_;
    // The demo page the next press shows, as the caption names it (0 is "Demo 1").
    int nextDemo_ = 0;
};
