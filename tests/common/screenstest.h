#pragma once
// Screens opened through the registry during a test, and taken away after it.

// Deletes every loaded screen at once (none of them asked anything) and lets the deferred
// deletions run, so the next test starts with no window of the program.
void closeAllScreens();
