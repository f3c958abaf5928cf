#pragma once
// Twips, the unit the layout is stated in: 1440 to the inch, 15 to the pixel at 96 dpi.

namespace twips {
int toPixels(int twips);
int fromPixels(int pixels);
// Overrides the screen's logical dpi (tests); 0 goes back to asking the screen.
void setDpiForTesting(double dpi);
}  // namespace twips
