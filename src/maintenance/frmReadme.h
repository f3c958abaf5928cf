#pragma once
// The readme viewer, opened from the main menu: the readme text, then on a second page the
// licence agreement, then back to the menu.
#include "app/form.h"

#include <memory>

class QPlainTextEdit;
class QPushButton;

namespace storage {
class Database;
}

class frmReadme : public Form {
    Q_OBJECT
public:
    frmReadme();
    ~frmReadme() override;

    // Shows the readme page; on a failure the user is told and false is returned.
    bool Form_Load();

    QPushButton* Command1;  // "License Agreement" on the readme page, "Main Menu" after
    QPlainTextEdit* Text1;

    void Command1_Click();

protected:
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<storage::Database> db_;
    bool showingLicence_ = false;  // the licence is on screen (the button names the menu)
};
