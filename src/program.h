#pragma once
// Where the program is put together: every screen's factory for the screens' registry, and
// the day page assembled from its components. It stands above every layer, so that each
// component can attach itself to the screen it serves without the layers knowing of each
// other.
class Form;

namespace program {

// Gives the screens' registry the factory of every real screen.
void registerScreens();

}  // namespace program

// Makes the day page screen with its components; nullptr when it could not open (the user
// was told why).
Form* createDayPage();
