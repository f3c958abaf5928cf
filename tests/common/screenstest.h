#pragma once
// Screens opened through the registry during a test, and taken away after it.
#include "app/form.h"
#include "app/screens.h"

// Shows a screen through the registry, waits until it is the active window, and lets the
// events it posted arrive.
Form* showScreen(Screen screen);
template <typename T>
T* showScreen(Screen screen)
{
    return qobject_cast<T*>(showScreen(screen));
}

// Deletes every loaded screen at once (none of them asked anything) and lets the deferred
// deletions run, so the next test starts with no window of the program.
void closeAllScreens();
