#pragma once

// Whether a separate X client may grab plain Home on the root window right now (it cannot
// while another client holds it). The probe releases what it got.
bool OtherClientCanGrabHome();
