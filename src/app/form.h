#pragma once
// A screen of the program: a top-level window with key preview and the two ways of being
// unloaded (by the user, or by the program's own code).
#include <QWidget>

class QKeyEvent;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // How an unload was asked for, as Form_QueryUnload is told.
    enum UnloadMode { ByUser = 0, ByCode = 1 };

    // Unloads the screen from code: Form_QueryUnload runs with ByCode, then the window goes.
    void Unload();
    bool isUnloading() const { return unloading_; }

    // Key preview: the form sees each key before the control that has the focus.
    void setKeyPreview(bool on) { keyPreview_ = on; }
    bool keyPreview() const { return keyPreview_; }

    // Called for every key pressed in the form while key preview is on; returns true when
    // the key was consumed (a handler set its code to 0).
    bool previewKey(QKeyEvent* event);

    // Centres the window on its screen.
    void centreOnScreen();

protected:
    // Handlers a screen overrides. Setting the code to 0 consumes the key.
    virtual void Form_KeyDown(int& keyCode, int shift);
    virtual void Form_KeyPress(int& keyAscii);
    virtual void Form_QueryUnload(bool& cancel, UnloadMode mode);

    void closeEvent(QCloseEvent* event) override;

private:
    bool keyPreview_ = false;
    bool unloading_ = false;
};

// Installs the one application-wide filter that gives each form its key preview.
void installKeyPreview();
