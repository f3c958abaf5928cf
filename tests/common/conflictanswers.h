#pragma once
// Answers the window that asks about cells both desks changed, whenever it shows.
#include <QStringList>
#include <QTimer>
#include <functional>

class ConflictAnswers {
public:
    // Presses the buttons named, in order: a button by its name, or a key as the user presses
    // it in the list ("m", "return").
    explicit ConflictAnswers(QStringList buttons);

    int shown = 0;
    // The window's list as the answers left it, a row each, its cells joined by '|'.
    QStringList rows;
    // Runs as the window shows, before it is answered (another desk storing meanwhile).
    std::function<void()> whenShown;

private:
    QStringList buttons_;
    QTimer timer_;
};
