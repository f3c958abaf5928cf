#pragma once
// The memo box beside the day page with its two contents, the daily memo (the page's own)
// and the fixed memo (the same on every page), the button that switches them, and the
// book number box.
#include <QObject>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class frmAppt;

class MemoPanel : public QObject {
    Q_OBJECT
public:
    explicit MemoPanel(frmAppt& form);

    QLabel* lblFixedMemo;
    QPlainTextEdit* TxtFixedMemo;
    QPushButton* cmdMemo;
    QLineEdit* txtBook;

    void cmdMemo_Click();
    void mnuNaviBook_Click();
    // Stores the fixed memo and the book number in the settings row when they changed; a
    // failure is reported to the user.
    void store();
    // The same; a failure throws storage::StorageError.
    void storeOrThrow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();

    frmAppt& form_;
    QString storedMemo_;
    QString storedBook_;
};
