#pragma once

namespace quorvel {

class ChannelTreeView;
class GuideList;
class GuideManager;
class PlaylistManager;
class SkinPageControl;
class SkinTabSheet;

// Puts the guide list on its page of the side bar: a page without a tab (a third would not fit
// the strip beside the two, which would then scroll and move), shown by Ctrl+G and the tree's
// menu, Ctrl+G again going back to the tree. The list follows the channel chosen in the tree
// (a category leaves it as it is) and the guide as it is read.
GuideList* InstallGuideList(SkinPageControl* pages, SkinTabSheet* treePage, SkinTabSheet* guidePage,
                            ChannelTreeView* tree, GuideManager* guide, PlaylistManager* playlists);

} // namespace quorvel
