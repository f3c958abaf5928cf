#pragma once
// The set-up page: the practice describes itself (the location word, the first and last
// appointment, the slot length, the providers with their sites and names). Okay stores the
// settings row, brings the stored pages of today and later into line, and leads on to the
// template editor or the day page.
#include "app/form.h"
#include "storage/settings.h"

#include <array>
#include <memory>
#include <optional>

class CellEditor;
class FlexGrid;
class QLabel;
class QLineEdit;
class QPushButton;

namespace storage {
class Database;
}

class frmSetup : public Form {
    Q_OBJECT
public:
    frmSetup();
    ~frmSetup() override;

    // Opens the database and shows the stored answers. On a failure the user is told what
    // failed and false is returned: the screen must not be shown.
    bool Form_Load();

    // Controls
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Text1;  // location
    QLabel* Label3;
    QLabel* Label8;
    QLabel* Label11;
    QLabel* Label12;
    QLineEdit* txtHrO;
    QLineEdit* txtMinO;
    QLineEdit* txtAM;
    QLabel* lblOpen;
    QLabel* Label4;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLineEdit* txtHrC;
    QLineEdit* txtMinC;
    QLineEdit* txtPM;
    QLabel* lblClose;
    QLabel* Label5;
    QLineEdit* Text4;  // slot length
    std::array<QLabel*, 2> Label6;
    QLineEdit* Text5;  // provider count
    FlexGrid* Grid1;
    QLineEdit* txtEdit;
    QLineEdit* txtSites;  // carry the joined lists to the row; not shown
    QLineEdit* txtNames;
    QPushButton* CmdOkay;
    QPushButton* CmdReset;

    // The number of provider columns the grid shows.
    int ProviderCount = 0;

    // Lays the grid out for count providers and fills it from the stored lists. When the
    // stored lists cannot be read the grid stays as it was, the user is told, and Okay stores
    // nothing until a later read succeeds; false then.
    bool BuildProviderGrid(int count);
    void CmdOkay_Click();
    void CmdReset_Click();

protected:
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showStoredTime(const QString& stored, QLineEdit* hour, QLineEdit* minutes, QLineEdit* marker);
    // Puts the stored provider count into its box, brought into range; a count out of range
    // (a damaged or foreign file) is named to the user.
    void showStoredCount(const storage::Layout& layout);
    // Lays the grid out for count providers from lists already read.
    void fillProviderGrid(int count, const storage::Layout& stored);
    // Enter in the provider count: the grid is laid out for the count, keeping what was
    // typed into the columns that remain. False when it was not (the stored lists could not
    // be read).
    bool Text5_Enter(bool focusGrid);
    // The check of a box when it is left. False when the value is out of range: the focus
    // belongs back in the box.
    bool LostFocus(QLineEdit* box);
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    void Grid1_KeyPress(int& keyAscii);
    void report(const QString& message);
    // The settings as stored; on a failed read the user is told, with `consequence`, and Okay
    // refuses until a read succeeds.
    std::optional<storage::Settings> readStoredSettings(const QString& consequence);

    std::unique_ptr<storage::Database> db_;
    // The set-up's version as this screen read it: Okay stores over that version only.
    int settingsVersion_ = 0;
    CellEditor* editor_ = nullptr;
    bool checking_ = false;  // a box's check is putting the focus back
    bool laying_ = false;    // the grid is being laid out for a new count
    bool closing_ = false;
    // The last read of the stored lists failed: the grid may not show them, so Okay stores
    // nothing until a read succeeds.
    bool listsUnread_ = false;
};
