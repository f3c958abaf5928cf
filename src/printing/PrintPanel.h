#pragma once
// The print panel of the day page: print every provider column, each on a sheet of its
// own, or one column by number; F11 opens the panel and, while it is open, prints. A
// preview shows the same sheets before paper is spent.
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class PrintTarget;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class frmAppt;
struct ScheduleCaptions;

class PrintPanel : public QObject {
    Q_OBJECT
public:
    explicit PrintPanel(frmAppt& form);

    QFrame* Frame3;
    QRadioButton* Option1;  // "Print All"
    QRadioButton* Option2;  // "Print Column No. ( 1 to N )"
    QLineEdit* txtPrint;
    QPushButton* cmdClosePrint;
    QPushButton* cmdPreview;
    QLabel* Label3;

    void ShowPrintPanel();
    void StartPrint();
    void PrintSchedule(int first, int last);
    void Option1_Click();
    void Option2_Click();
    void txtPrint_LostFocus();
    void cmdClosePrint_Click();
    void cmdPreview_Click();

    // Where a printout goes; the system's printer unless replaced. A factory may throw
    // PrintError (no printer installed).
    using TargetFactory = std::function<std::unique_ptr<PrintTarget>()>;
    void setTargetFactory(TargetFactory factory) { targetFactory_ = std::move(factory); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // N: the provider columns of the layout on screen.
    int columnCount() const;
    // The columns the panel's choice names (the column box brought into range first), or
    // nothing when the box is empty with "Print Column" chosen.
    std::optional<std::pair<int, int>> chosenColumns();
    ScheduleCaptions captions() const;
    QString documentName() const;
    // The system's default printer; throws PrintError when none is installed.
    std::unique_ptr<PrintTarget> systemPrinter() const;
    // Enter flips an option: a selected one becomes unselected and the reverse.
    static void flip(QRadioButton* option);
    bool handleKey(int keyCode, int shift);

    frmAppt& form_;
    TargetFactory targetFactory_;
};
