#pragma once
// The memo box beside the day page with its two contents, the daily memo (the page's own)
// and the fixed memo (the same on every page), the button that switches them, and the
// book number box.
#include <QObject>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class frmAppt;
namespace storage {
struct MemoAndBook;
}

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
    // Stores `typed` over `read` as storage::storeMemoAndBook does, asking (frmConflicts)
    // about each of the two that another desk stored differently meanwhile; returns the two
    // as the book holds them then. Throws StoreCancelled when the user cancels the question.
    // `store` stores over what was read and returns what the book holds then.
    using Store = std::function<storage::MemoAndBook(const storage::MemoAndBook& read,
                                                     const storage::MemoAndBook& typed)>;
    static storage::MemoAndBook storeAsking(frmAppt& form, const Store& store, storage::MemoAndBook read,
                                            storage::MemoAndBook typed);
    // Shows the two as the book holds them now, where nothing was typed into them since they
    // were last read or stored.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    // Reads the stored fixed memo and book number; a failure is told, and false.
    bool readStored();
    frmAppt& form_;
    QString storedMemo_;
    QString storedBook_;
};
