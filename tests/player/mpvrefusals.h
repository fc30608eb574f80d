#pragma once

// Makes this test program's calls into mpv fail on demand, as mpv refuses a call: the program's
// own definitions of the calls stand in front of libmpv's and hand every other call on.
namespace mpvrefusals {

// The property (or the command, by its first word) that mpv refuses from now on; nullptr: none.
void Refuse(const char* name);

} // namespace mpvrefusals
