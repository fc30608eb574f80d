#pragma once

// Turns XKB detectable auto-repeat on or off for the program's own X connection (apart from
// the test, whose X headers do not mix with the test framework's).
bool SetDetectableAutoRepeat(bool on);
