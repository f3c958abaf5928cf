#pragma once
// Suspends the painting of one window for the life of the guard, like LockWindowUpdate.
// Nested guards on the same window resume painting only when the outermost one ends.
#include <QPointer>
#include <QWidget>

class PaintLock {
public:
    explicit PaintLock(QWidget* window) : window_(window)
    {
        if (window_) {
            wasEnabled_ = window_->updatesEnabled();
            window_->setUpdatesEnabled(false);
        }
    }
    ~PaintLock()
    {
        if (window_ && wasEnabled_)
            window_->setUpdatesEnabled(true);
    }
    PaintLock(const PaintLock&) = delete;
    PaintLock& operator=(const PaintLock&) = delete;

private:
    QPointer<QWidget> window_;
    bool wasEnabled_ = false;
};
