#pragma once
// Suspends the painting of one window for the life of the guard, like LockWindowUpdate.
// Nested guards on the same window resume painting only when the outermost one ends; a
// guard on a child inside a guard on its window hands the child back to the window's.
#include <QPointer>
#include <QWidget>

class PaintLock {
public:
    explicit PaintLock(QWidget* window) : window_(window)
    {
        // Only a guard that suspended the window itself resumes it: Qt marks a window
        // suspended by its own call apart from one suspended through its parent.
        if (window_ && !window_->testAttribute(Qt::WA_ForceUpdatesDisabled)) {
            owner_ = true;
            window_->setUpdatesEnabled(false);
        }
    }
    ~PaintLock()
    {
        if (window_ && owner_)
            window_->setUpdatesEnabled(true);
    }
    PaintLock(const PaintLock&) = delete;
    PaintLock& operator=(const PaintLock&) = delete;

private:
    QPointer<QWidget> window_;
    bool owner_ = false;
};
