// The facts of the program's own skin, checked against the stream the program carries.
#include "app/storedskin.h"
#include "skin/data/skindata.h"
#include "skin/definition/skinini.h"
#include "skin/render/skinutils.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skincontainer.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

class OwnSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        stored.SetCompressedData(StoredSkinData());
        data.SetCompressedStoredSkin(&stored);
    }
    template <class T>
    const T& Object(const std::string& name)
    {
        const int i = data.FindObjectIndex(name);
        EXPECT_GE(i, 0) << name;
        const T* o = dynamic_cast<const T*>(data.SkinObjects.at(static_cast<std::size_t>(i)).get());
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    template <class T>
    const T& Control(const std::string& name)
    {
        const T* c =
            dynamic_cast<const T*>(data.SkinControls.at(static_cast<std::size_t>(data.FindControlIndex(name))).get());
        EXPECT_NE(c, nullptr) << name;
        return *c;
    }

    CompressedStoredSkin stored;
    SkinData data;
};

} // namespace

TEST_F(OwnSkin, ContainerAndFrame)
{
    const std::string& packed = stored.CompressedData();
    EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(packed[1]), 0xDA);
    MemoryStream plain;
    stored.ExtractContainer(plain);
    plain.SetPosition(0);
    const SkinContainer c = SkinContainer::Read(plain);
    EXPECT_EQ(c.version, 3);
    EXPECT_EQ(c.picture.Width(), 210);
    EXPECT_EQ(c.picture.Height(), 282);
    EXPECT_EQ(c.picture.BitCount(), 24);
    EXPECT_EQ(c.mask.Width(), 210);
    EXPECT_EQ(c.mask.Height(), 282);
    EXPECT_EQ(c.mask.BitCount(), 24);
    EXPECT_TRUE(c.inactivePicture.Empty());
    ASSERT_EQ(c.pictures.size(), 21u);
    int oneBit = 0, full = 0;
    for (const auto& p : c.pictures)
        (p.BitCount() == 1 ? oneBit : full) += p.BitCount() == 1 || p.BitCount() == 24;
    EXPECT_GT(oneBit, 0);
    EXPECT_GT(full, 0);

    EXPECT_FALSE(data.Empty);
    const FormInfo& f = data.Info;
    EXPECT_EQ(f.clientrect, (SkinRect{3, 30, 207, 279}));
    EXPECT_TRUE(f.leftstretch && f.rightstretch && f.topstretch && f.bottomstretch);
    EXPECT_FALSE(f.autorenderinginactiveimage);
    EXPECT_TRUE(f.buttonsrect.IsEmpty());
    EXPECT_EQ(f.captionrect.right, 204);
    EXPECT_EQ(f.captionrect.top, 0);
    EXPECT_EQ(f.buttonsoffset, 0);
}

TEST_F(OwnSkin, FormObjects)
{
    const std::vector<std::string> order = {
        "menuitem",           "caption",          "closebutton",     "maxbutton",
        "minbutton",          "sysmenubutton",    "mainmenubaritem", "menubarsysmenubutton",
        "menubarclosebutton", "menubarmaxbutton", "menubarminbutton"};
    ASSERT_EQ(data.SkinObjects.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(data.SkinObjects[i]->IDName, order[i]);

    const auto& caption = Object<DataSkinCaption>("caption");
    EXPECT_EQ(caption.skinRect, (SkinRect{5, 3, 206, 29}));
    EXPECT_EQ(caption.activePictureIndex, -1);
    EXPECT_EQ(caption.textRect.left, 4);
    EXPECT_EQ(caption.textRect.top, 2);
    EXPECT_EQ(caption.fontName, "Arial");
    EXPECT_EQ(caption.fontHeight, 14);
    EXPECT_EQ(caption.fontStyle, (FontStyle{true, false, false, false}));
    EXPECT_EQ(caption.activeFontColor, 16777215);
    EXPECT_EQ(caption.fontColor, 12632256);
    EXPECT_EQ(caption.alignment, TextAlignment::Left);

    for (auto [name, width] : {std::pair{"closebutton", 43}, {"maxbutton", 25}, {"minbutton", 25}}) {
        const auto& b = Object<DataSkinStdButton>(name);
        EXPECT_EQ(b.skinRect.Width(), width) << name;
        EXPECT_EQ(b.skinRect.Height(), 30) << name;
        EXPECT_TRUE(b.skinRectInAPicture) << name;
        EXPECT_GE(b.activePictureIndex, 0) << name;
        EXPECT_TRUE(b.morphing) << name;
        EXPECT_FALSE(b.activeSkinRect.IsEmpty()) << name;
    }
    EXPECT_EQ(Object<DataSkinStdButton>("maxbutton").restoreRect, (SkinRect{165, 66, 190, 96}));
    EXPECT_EQ(Object<DataSkinStdButton>("maxbutton").restoreActiveRect, (SkinRect{110, 98, 135, 128}));
    EXPECT_EQ(Object<DataSkinStdButton>("closebutton").command, SkinCommand::Close);

    const auto& item = Object<DataSkinMenuItem>("menuitem");
    EXPECT_EQ(data.ActivePictureNames.at(static_cast<std::size_t>(item.activePictureIndex)), "menuitems.bmp");
    EXPECT_EQ(item.skinRect, (SkinRect{1, 1, 99, 22}));
    EXPECT_EQ(item.activeSkinRect, item.skinRect);
    EXPECT_EQ(item.dividerRect, (SkinRect{1, 71, 97, 73}));
    EXPECT_EQ(item.textRect, (SkinRect{3, 1, 94, 19}));
    EXPECT_EQ(item.fontName, "Arial");
    EXPECT_EQ(item.fontHeight, 14);
    EXPECT_EQ(item.fontColor, 9735813);
    EXPECT_EQ(item.activeFontColor, 16777215);
    EXPECT_EQ(item.unenabledFontColor, 5460819);

    const auto& popup = data.PopupWindow;
    const auto& popupPicture = data.ActivePictures.at(static_cast<std::size_t>(popup.windowPictureIndex));
    EXPECT_EQ(popupPicture.Width(), 178);
    EXPECT_EQ(popupPicture.Height(), 284);
    EXPECT_EQ(popup.itemsRect, (SkinRect{2, 2, 176, 282}));
}

TEST_F(OwnSkin, ControlSections)
{
    ASSERT_EQ(data.SkinControls.size(), 60u);
    EXPECT_EQ(data.FindControlIndex("panel"), 7);
    EXPECT_EQ(data.FindControlIndex("tab"), 12);
    EXPECT_EQ(data.FindControlIndex("Panel"), -1);

    const auto& panel = Control<DataSkinPanelControl>("panel");
    EXPECT_EQ(panel.pictureIndex, 4);
    EXPECT_EQ(panel.maskPictureIndex, -1);
    EXPECT_EQ(panel.skinRect, (SkinRect{3, 404, 120, 488}));
    EXPECT_EQ(panel.leftTopPoint, (SkinPoint{1, 1}));
    EXPECT_EQ(panel.rightTopPoint, (SkinPoint{115, 1}));
    EXPECT_EQ(panel.leftBottomPoint, (SkinPoint{1, 82}));
    EXPECT_EQ(panel.rightBottomPoint, (SkinPoint{115, 82}));
    EXPECT_EQ(panel.clientRect, (SkinRect{1, 1, 116, 83}));
    EXPECT_EQ(panel.bgPictureIndex, -1);
    EXPECT_TRUE(panel.captionRect.IsEmpty());
    EXPECT_EQ(panel.alignment, TextAlignment::Center);
    EXPECT_EQ(panel.fontName, "Arial");
    EXPECT_EQ(panel.fontHeight, 12);
    EXPECT_EQ(panel.fontStyle, FontStyle{});
    EXPECT_EQ(panel.fontColor, 0);

    const auto& tab = Control<DataSkinTabControl>("tab");
    EXPECT_EQ(tab.pictureIndex, 4);
    EXPECT_EQ(tab.skinRect, (SkinRect{438, 265, 620, 466}));
    EXPECT_EQ(tab.leftTopPoint, (SkinPoint{2, 2}));
    EXPECT_EQ(tab.rightTopPoint, (SkinPoint{178, 2}));
    EXPECT_EQ(tab.leftBottomPoint, (SkinPoint{2, 198}));
    EXPECT_EQ(tab.rightBottomPoint, (SkinPoint{179, 198}));
    EXPECT_EQ(tab.clientRect, (SkinRect{2, 2, 180, 199}));
    EXPECT_EQ(tab.tabRect, (SkinRect{1, 106, 62, 127}));
    EXPECT_EQ(tab.activeTabRect, (SkinRect{1, 129, 62, 152}));
    EXPECT_EQ(tab.focusTabRect, (SkinRect{1, 154, 62, 177}));
    EXPECT_TRUE(tab.mouseInTabRect.IsEmpty());
    EXPECT_EQ(tab.tabLeftOffset, 4);
    EXPECT_EQ(tab.tabRightOffset, 4);
    EXPECT_EQ(tab.tabsBGRect, (SkinRect{4, 405, 119, 428}));
    EXPECT_EQ(tab.fontName, "Arial");
    EXPECT_EQ(tab.fontHeight, 14);
    EXPECT_EQ(tab.fontColor, 6776679);
    EXPECT_EQ(tab.activeFontColor, 16777215);
    EXPECT_EQ(tab.focusFontColor, 16777215);
    EXPECT_EQ(tab.mouseInFontColor, 16777215);
    EXPECT_EQ(tab.upDown, "hupdown");

    const auto& updown = Control<DataSkinUpDownControl>("hupdown");
    EXPECT_EQ(updown.skinRect, (SkinRect{169, 189, 196, 204}));
    EXPECT_EQ(updown.upButtonRect, (SkinRect{13, 0, 27, 15}));
    EXPECT_EQ(updown.activeUpButtonRect, (SkinRect{203, 149, 217, 164}));
    EXPECT_EQ(updown.downUpButtonRect, (SkinRect{187, 149, 201, 164}));
    EXPECT_EQ(updown.downButtonRect, (SkinRect{0, 0, 14, 15}));
    EXPECT_EQ(updown.activeDownButtonRect, (SkinRect{153, 149, 167, 164}));
    EXPECT_EQ(updown.downDownButtonRect, (SkinRect{169, 149, 183, 164}));
    // Every rectangle lies within its picture.
    const auto& picture = data.ActivePictures.at(4);
    for (const SkinRect& r :
         {panel.skinRect, tab.skinRect, tab.tabsBGRect, tab.focusTabRect, updown.skinRect, updown.activeUpButtonRect})
        EXPECT_TRUE(r.right <= picture.Width() && r.bottom <= picture.Height());
}

TEST_F(OwnSkin, SavedDefinitionReadsBackTheSame)
{
    SkinIni saved;
    data.SaveToIni(saved);
    SkinData again;
    again.LoadFromDefinition(SkinIni(saved.Lines()));
    SkinIni savedAgain;
    again.SaveToIni(savedAgain);
    EXPECT_EQ(savedAgain.Lines(), saved.Lines());
    EXPECT_EQ(again.FindControlIndex("tab"), 12);
    EXPECT_EQ(again.Info.clientrect, data.Info.clientrect);
}

TEST_F(OwnSkin, WindowOutlineAtTheWindowsSize)
{
    const QByteArray bytes = QByteArray::fromStdString(data.Mask.Bytes());
    const QImage mask = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(mask.size(), QSize(210, 282));
    PieceGeometry g;
    g.S = SkinRect{0, 0, 210, 282};
    g.LT = data.Info.lefttoppoint;
    g.RT = data.Info.righttoppoint;
    g.LB = data.Info.leftbottompoint;
    g.RB = data.Info.rightbottompoint;
    g.C = data.Info.clientrect;
    g.DeriveTarget(718, 479); // a 712 x 446 client area inside the frame
    EXPECT_EQ(g.NC, (SkinRect{3, 30, 715, 476}));
    const auto region = BuildMaskedRegion(mask, g);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->boundingRect(), QRect(0, 0, 718, 479));
    // Rounded top corners; everything else belongs to the window.
    EXPECT_FALSE(region->contains(QPoint(0, 0)));
    EXPECT_FALSE(region->contains(QPoint(717, 0)));
    EXPECT_TRUE(region->contains(QPoint(6, 0)));
    EXPECT_TRUE(region->contains(QPoint(0, 478)));
    EXPECT_TRUE(region->contains(QPoint(717, 478)));
    EXPECT_TRUE(((QRegion(0, 0, 718, 479) - *region) - QRegion(0, 0, 718, 6)).isEmpty());
}
