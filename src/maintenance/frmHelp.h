#pragma once
// The help viewer: the help text of the database, read-only, beside the day page.
#include "app/form.h"

#include <memory>

class QPlainTextEdit;
class QPushButton;

namespace storage {
class Database;
}

class frmHelp : public Form {
    Q_OBJECT
public:
    frmHelp();
    ~frmHelp() override;

    // Reads the help text; on a failure the user is told and false is returned.
    bool Form_Load();

    QPushButton* cmdExit;
    QPlainTextEdit* Text1;

    void cmdExit_Click();

protected:
    bool event(QEvent* event) override;

private:
    std::unique_ptr<storage::Database> db_;
};
