#pragma once

namespace quorvel {

// The window is laid out for Tahoma: its ticker is 120 pixels wide because the titles, in
// Tahoma at 11 pixels, fit there. Where the desktop has no Tahoma, the metric-compatible one
// Debian ships with its wine fonts is taken into the program; without either, Qt's stand-in
// (wider) is used and long titles are cut.
void InstallTahoma();

} // namespace quorvel
