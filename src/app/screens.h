#pragma once
// The program's screens, each created on first reference and forgotten when unloaded.
// The menu opens screens of later layers through this registry; main() gives it the
// factories of the real screens.
#include <QString>
#include <functional>

class Form;

enum class Screen { Splash, Menu, Appt, Setup, Configure, Backup, Readme, Help };

namespace screens {

using Factory = std::function<Form*()>;

// Replaces how a screen is made (main() for the later screens, tests for doubles).
void setFactory(Screen screen, Factory factory);
// The screen, created (Load) if it is not loaded; not shown.
Form* load(Screen screen);
// Shows the screen (creating it first if needed) and brings it to the front.
Form* show(Screen screen);
// The screen if it is loaded, else nullptr.
Form* loaded(Screen screen);
// Unloads the screen by code if it is loaded; nothing otherwise.
void unload(Screen screen);

// The caption of a screen that is not built yet.
QString placeholderCaption(Screen screen);

}  // namespace screens
