#pragma once

namespace quorvel {

// How the web panes reach the screen, chosen before the application object exists. The panes
// are drawn into the window's own picture, as every other widget is, instead of composing the
// whole window with OpenGL: composed that way, every change over the video (a card shown on a
// zap, the tree's selection) redrew the entire window through OpenGL, 10 to 20 ms each on a
// desktop without a graphics driver, and the native windows over the video need the same way
// as the window they lie in. A way the environment names already is kept.
void ComposePagesWithWidgets();

} // namespace quorvel
