// The page control's "tab" section as it is looked up and settled.
#include "skin/data/skindata.h"
#include "skin/data/tabsection.h"
#include "skintestdata.h"

#include <gtest/gtest.h>
#include <memory>

using namespace quorvel;

namespace {

// A loaded skin with one picture and, first, a panel section, then a tab section.
struct Skin {
    Skin()
    {
        data.ActivePictures.push_back(MakeBitmap(4, 4, 24));
        data.SkinControls.push_back(std::make_unique<DataSkinPanelControl>("panel"));
        auto section = std::make_unique<DataSkinTabControl>("tab");
        tab = section.get();
        data.SkinControls.push_back(std::move(section));
        data.Empty = false;
        tab->pictureIndex = 0;
        tab->tabRect = SkinRect{0, 0, 10, 10};
        tab->activeTabRect = SkinRect{10, 0, 20, 10};
        tab->focusTabRect = SkinRect{20, 0, 30, 10};
        tab->upDown = "hupdown";
    }
    SkinData data;
    DataSkinTabControl* tab = nullptr;
};

} // namespace

TEST(TabSection, NoneWithoutDataAnEmptySkinOrTheSection)
{
    EXPECT_EQ(ReadTabSection(nullptr, "tab"), TabSection{});
    Skin skin;
    EXPECT_FALSE(ReadTabSection(&skin.data, "other").Found());
    EXPECT_EQ(ReadTabSection(&skin.data, "other"), TabSection{});
    skin.data.Empty = true;
    EXPECT_FALSE(ReadTabSection(&skin.data, "tab").Found());
    // A section of another kind is found, but gives nothing to draw from.
    skin.data.Empty = false;
    const TabSection panel = ReadTabSection(&skin.data, "panel");
    EXPECT_EQ(panel.index, 0);
    EXPECT_EQ(panel.source, nullptr);
    EXPECT_EQ(panel.pictureIndex, -1);
    EXPECT_EQ(panel.upDown, "");
}

TEST(TabSection, EmptyTabImagesFallBackAsTheSectionHasThem)
{
    Skin skin;
    TabSection s = ReadTabSection(&skin.data, "tab");
    EXPECT_EQ(s.index, 1);
    EXPECT_EQ(s.source, skin.tab);
    EXPECT_EQ(s.activeTabRect, (SkinRect{10, 0, 20, 10}));
    EXPECT_EQ(s.focusTabRect, (SkinRect{20, 0, 30, 10}));
    EXPECT_EQ(s.upDown, "hupdown");
    // No focused image: the selected one.
    skin.tab->focusTabRect = SkinRect{};
    EXPECT_EQ(ReadTabSection(&skin.data, "tab").focusTabRect, (SkinRect{10, 0, 20, 10}));
    // No selected image: the normal one; the focused one falls back to the selected image as
    // the section has it, which is empty too.
    skin.tab->activeTabRect = SkinRect{};
    s = ReadTabSection(&skin.data, "tab");
    EXPECT_EQ(s.activeTabRect, (SkinRect{0, 0, 10, 10}));
    EXPECT_TRUE(s.focusTabRect.IsEmpty());
}

TEST(TabSection, PicturesOutsideTheListAreNone)
{
    Skin skin;
    TabSection s = ReadTabSection(&skin.data, "tab");
    EXPECT_NE(s.pictureBytes, nullptr);
    EXPECT_EQ(s.backgroundBytes, nullptr); // "bgpictureindex" -1
    skin.tab->pictureIndex = 1;
    skin.tab->bgPictureIndex = -7;
    s = ReadTabSection(&skin.data, "tab");
    EXPECT_EQ(s.pictureBytes, nullptr);
    EXPECT_EQ(s.backgroundBytes, nullptr);
    // The same values read again compare equal; another skin's bitmap at the same index does not.
    EXPECT_EQ(ReadTabSection(&skin.data, "tab"), s);
    skin.tab->pictureIndex = 0;
    const TabSection before = ReadTabSection(&skin.data, "tab");
    skin.data.ActivePictures[0] = MakeBitmap(8, 8, 24);
    EXPECT_FALSE(ReadTabSection(&skin.data, "tab") == before);
}
