#pragma once
// The main menu: every screen is reached from here, and the program ends here.
#include "app/form.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmMenu : public Form {
    Q_OBJECT
public:
    frmMenu();

    QLabel* Label1;
    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QRadioButton* Option6;
    QPushButton* Command1;

    // The Exit sequence (option 6 with Enter).
    void Option6_KeyPress(int keyAscii);

protected:
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Entry 1 to 4 chosen on its option (mouse, Enter or Space): the screen, then the menu goes.
    void chooseOption(int entry);
    // Entry 1 to 4 chosen by its digit key: the screen opens and the menu stays.
    void chooseByDigit(int entry);
    void Command1_Click();
    bool exiting_ = false;
};
