#pragma once

class QWidget;

namespace quorvel {

// The keys of the player, in the look of the window's own pages (F1, or the channel tree's menu).
// One at a time: asked again while it shows, it comes to the front.
void ShowKeysHelp(QWidget* parent);

} // namespace quorvel
