#pragma once
// The keyboard: the lock keys' state and the switch to an English layout.

namespace velmora {

struct LockKeys {
    bool numLock = false;
    bool capsLock = false;
};

// Read from the X server where the program runs on one; both off elsewhere.
LockKeys lockKeyState();

// Makes an English layout the active one: up to five times, when the active
// layout is not English, the next configured layout becomes the active one.
// The layout reached last stays when none is English.
void switchToEnglishKeyboard();

} // namespace velmora
