#include "scratchdir.h"
#include "skin/data/skindata.h"
#include "skin/definition/skinini.h"
#include "skin/io/skinerrors.h"
#include "skin/io/zlibstreams.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skincontainer.h"
#include "skin/store/skinlimits.h"
#include "skintestdata.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// Writes down the changes a skin data signals, as they come.
struct ChangeLog {
    explicit ChangeLog(SkinData& data)
    {
        QObject::connect(&data, &SkinData::skinChanged, &context, [this](SkinMessage kind) { kinds.push_back(kind); });
    }
    QObject context;
    std::vector<int> kinds;
};

std::string Pack(const SkinContainer& c)
{
    MemoryStream plain, packed;
    c.Write(plain);
    CompressStream(plain, packed);
    return packed.Bytes();
}

SkinContainer Minimal(std::vector<std::string> definition)
{
    SkinContainer c;
    c.pictures = {MakeBitmap(4, 4, 24)};
    c.definition = std::move(definition);
    return c;
}

const std::vector<std::string> kDefinition = {
    "[PICTURES]",
    "mask=m.bmp",
    "activepicturescount=1",
    "0=a.bmp",
    "[FORMINFO]",
    "clientrect=3,30,207,279",
    "lefttoppoint=1,1",
    "righttoppoint=250,2",
    "leftbottompoint=2,300",
    "rightbottompoint=300,300",
    "maskrectarea=10,10,100,100",
    "hittestlefttoppoint=0,5",
    "hittestrighttoppoint=7,7",
    "[SKINOBJECTS]",
    "count=3",
    "0=caption:caption",
    "1=odd:nosuchkind",
    "2=closebutton:stdbutton",
    "[SKINCONTROLS]",
    "count=3",
    "0=panel:panel",
    "1=tab:tab",
    "2=hupdown:updown",
    "[hupdown]",
    "lefttoppoint=4,4",
    "clientrect=1,1,5,5",
    "upbuttonrect=13,0,27,15",
};

} // namespace

TEST(SkinData, LoadsSignalsItsChangesInOrderAndAdjustsTheFrame)
{
    CompressedStoredSkin stored;
    stored.SetCompressedData(Pack(Minimal(kDefinition)));
    auto* data = new SkinData;
    ChangeLog log(*data);
    std::vector<bool> emptyWhenSignalled;
    QObject::connect(data, &SkinData::skinChanged, &log.context,
                     [&](SkinMessage) { emptyWhenSignalled.push_back(data->Empty); });
    data->SetCompressedStoredSkin(&stored);
    EXPECT_FALSE(data->Empty);
    EXPECT_EQ(log.kinds, (std::vector<int>{SKINMSG_BEFORE_CHANGE, SKINMSG_CHANGED, SKINMSG_AFTER_CHANGED}));
    // Nothing is drawn from a skin half loaded: empty before, whole after.
    EXPECT_EQ(emptyWhenSignalled, (std::vector<bool>{true, false, false}));
    // Unknown kinds are skipped; later entries keep their order.
    ASSERT_EQ(data->SkinObjects.size(), 2u);
    EXPECT_EQ(data->FindObjectIndex("closebutton"), 1);
    EXPECT_EQ(data->FindControlIndex("tab"), 1);
    EXPECT_EQ(data->FindControlIndex("Tab"), -1);
    // With a mask: the mask area takes in the client rectangle; zero hit-test points take the corners.
    const FormInfo& f = data->Info;
    EXPECT_EQ(f.maskrectarea, (SkinRect{3, 10, 207, 279}));
    EXPECT_EQ(f.hittestlefttoppoint, (SkinPoint{1, 1}));
    EXPECT_EQ(f.hittestrighttoppoint, (SkinPoint{7, 7}));
    // Corner points moved into the client rectangle.
    EXPECT_EQ(f.lefttoppoint, (SkinPoint{3, 30}));
    EXPECT_EQ(f.righttoppoint, (SkinPoint{207, 30}));
    EXPECT_EQ(f.leftbottompoint, (SkinPoint{3, 279}));
    EXPECT_EQ(f.rightbottompoint, (SkinPoint{207, 279}));
    // Scroll buttons never keep corner points or a client rectangle.
    const auto* updown = dynamic_cast<DataSkinUpDownControl*>(data->SkinControls[2].get());
    ASSERT_NE(updown, nullptr);
    EXPECT_EQ(updown->leftTopPoint, SkinPoint{});
    EXPECT_TRUE(updown->clientRect.IsEmpty());
    EXPECT_EQ(updown->upButtonRect, (SkinRect{13, 0, 27, 15}));
    // Sections that are absent read their defaults: "Arial" 14 for a panel read from nothing.
    const auto* panel = dynamic_cast<DataSkinPanelControl*>(data->SkinControls[0].get());
    EXPECT_EQ(panel->fontName, "Arial");
    EXPECT_EQ(panel->fontHeight, 14);
    EXPECT_EQ(DataSkinPanelControl("never").fontName, "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(dynamic_cast<DataSkinTabControl*>(data->SkinControls[1].get())->upDown, "");

    // The stored skin going away is forgotten.
    delete data;
}

TEST(SkinData, FailedOrRefusedLoadsLeaveTheSkinEmpty)
{
    SkinData data;
    ChangeLog log(data);
    CompressedStoredSkin stored;
    // Empty stored skin: nothing happens.
    data.SetCompressedStoredSkin(&stored);
    EXPECT_TRUE(log.kinds.empty());
    // An empty rectangle field fails the load; no change message follows.
    stored.SetCompressedData(Pack(Minimal({"[FORMINFO]", "clientrect=1,,3,4"})));
    EXPECT_THROW(data.LoadCompressedStoredSkin(stored), EConvertError);
    EXPECT_TRUE(data.Empty);
    EXPECT_TRUE(data.ActivePictures.empty());
    EXPECT_EQ(log.kinds, (std::vector<int>{SKINMSG_BEFORE_CHANGE}));
    // Damaged zlib data.
    stored.SetCompressedData("\x78\xDA garbage that is not deflate data");
    EXPECT_THROW(data.LoadCompressedStoredSkin(stored), EDecompressionError);
    EXPECT_TRUE(data.Empty);
    // A container of a later version: an empty skin, quietly.
    std::string v4("\x04\0\0\0", 4);
    MemoryStream plain(v4), packed;
    CompressStream(plain, packed);
    stored.SetCompressedData(packed.Bytes());
    data.LoadCompressedStoredSkin(stored);
    EXPECT_TRUE(data.Empty);
    EXPECT_EQ(data.FindControlIndex("panel"), -1);
    // A skin without a mask keeps its hit-test points, zero or not.
    stored.SetCompressedData(Pack(Minimal({"[FORMINFO]", "lefttoppoint=5,5", "hittestlefttoppoint=0,0"})));
    data.LoadCompressedStoredSkin(stored);
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(data.Info.hittestlefttoppoint, SkinPoint{});
}

TEST(SkinData, ResourceStringsAndStringsChangedMessage)
{
    SkinData data;
    ChangeLog log(data);
    auto* strings = new ResourceStrData;
    EXPECT_EQ(strings->ResStrings().size(), 73u);
    EXPECT_EQ(strings->GetResStr("MI_ROLLUPCAPTION"), "Ro&llUp");
    EXPECT_EQ(strings->GetResStr("MENUBUTTON_HINT"), "System menu");
    EXPECT_EQ(strings->GetResStr("MI_ROLLUP"), "");
    data.SetResourceStrData(strings);
    EXPECT_EQ(log.kinds, std::vector<int>{SKINMSG_STRINGS_CHANGED});
    delete strings;
    EXPECT_EQ(data.GetResourceStrData(), nullptr);
}

TEST(CompressedStoredSkin, ImportsAFolderAndKeepsTheOldStreamOnFailure)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("frame.bmp"), MakeBmp(10, 10, 24));
    ScratchDir::Spit(dir.File("p0.bmp"), MakeBmp(3, 3, 1));
    const std::string ini = "[VERSION]\r\n[PICTURES]\r\npicture=frame.bmp\r\nactivepicturescount=1\r\n0=p0.bmp\r\n"
                            "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n";
    ScratchDir::Spit(dir.File("skin.ini"), ini);
    CompressedStoredSkin stored;
    stored.ImportSkinFolder(dir.File("skin.ini"));
    ASSERT_FALSE(stored.IsEmpty());
    MemoryStream plain;
    stored.ExtractContainer(plain);
    plain.SetPosition(0);
    const SkinContainer c = SkinContainer::Read(plain);
    EXPECT_EQ(c.picture.Width(), 10);
    EXPECT_TRUE(c.inactivePicture.Empty());
    EXPECT_TRUE(c.mask.Empty());
    ASSERT_EQ(c.pictures.size(), 1u);
    EXPECT_EQ(c.definition.size(), 8u);

    const std::string before = stored.CompressedData();
    ScratchDir::Spit(dir.File("incomplete.ini"), "[VERSION]\r\n[PICTURES]\r\n");
    stored.ImportSkinFolder(dir.File("incomplete.ini"));
    EXPECT_EQ(stored.CompressedData(), before);
    std::filesystem::remove(dir.File("p0.bmp"));
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("skin.ini")), EFOpenError);
    EXPECT_EQ(stored.CompressedData(), before);

    // The compressed file form: version, length, stream; later versions give nothing.
    std::string file("\x03\0\0\0", 4);
    const auto n = static_cast<std::uint32_t>(before.size());
    for (int i = 0; i < 4; ++i)
        file.push_back(static_cast<char>(n >> (8 * i)));
    ScratchDir::Spit(dir.File("skin.skn"), file + before + "trailing");
    CompressedStoredSkin other;
    other.ImportCompressedFile(dir.File("skin.skn"));
    EXPECT_EQ(other.CompressedData(), before);
    file[0] = 4;
    ScratchDir::Spit(dir.File("later.skn"), file + before);
    other.ImportCompressedFile(dir.File("later.skn"));
    EXPECT_TRUE(other.IsEmpty());
    // Assigning names in the running program only stores them.
    other.SetFileName("/somewhere/skin.ini");
    EXPECT_EQ(other.FileName(), "/somewhere/skin.ini");
    EXPECT_TRUE(other.IsEmpty());
}

TEST(SkinData, FollowChangesTiesOneReceiverToOneSkinData)
{
    SkinData a, b;
    QObject receiver;
    int applied = 0;
    SkinData::FollowChanges(&receiver, &a, [&] { ++applied; });
    // The skin is applied after a change, and only then.
    emit a.skinChanged(SKINMSG_BEFORE_CHANGE);
    emit a.skinChanged(SKINMSG_STRINGS_CHANGED);
    emit a.skinChanged(SKINMSG_AFTER_CHANGED);
    EXPECT_EQ(applied, 0);
    emit a.skinChanged(SKINMSG_CHANGED);
    EXPECT_EQ(applied, 1);
    // Tied again, twice: the new skin data only, once a change.
    SkinData::FollowChanges(&receiver, &b, [&] { ++applied; });
    SkinData::FollowChanges(&receiver, &b, [&] { ++applied; });
    emit a.skinChanged(SKINMSG_CHANGED);
    emit b.skinChanged(SKINMSG_CHANGED);
    EXPECT_EQ(applied, 2);
    // No skin data: no tie left.
    SkinData::FollowChanges(&receiver, nullptr, [&] { ++applied; });
    emit b.skinChanged(SKINMSG_CHANGED);
    EXPECT_EQ(applied, 2);
    EXPECT_TRUE(receiver.children().isEmpty());
}

TEST(SkinData, ReceiversGoneBeforeOrDuringAChangeHearNothing)
{
    SkinData data;
    int applied = 0;
    {
        QObject gone;
        SkinData::FollowChanges(&gone, &data, [&] { ++applied; });
    }
    // The first receiver's handling closes the second before it is reached.
    auto* first = new QObject;
    auto* second = new QObject;
    QPointer<QObject> victim = second;
    SkinData::FollowChanges(first, &data, [&] {
        ++applied;
        delete victim.data();
    });
    SkinData::FollowChanges(second, &data, [&] { applied += 100; });
    emit data.skinChanged(SKINMSG_CHANGED);
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(victim.isNull());
    delete first;
    // The skin data going first leaves its receivers untied.
    QObject survivor;
    {
        SkinData shortLived;
        SkinData::FollowChanges(&survivor, &shortLived, [&] { ++applied; });
    }
    SkinData::FollowChanges(&survivor, nullptr, [] {});
    EXPECT_EQ(applied, 1);
}

TEST(SkinData, CountsBeyondWhatTheirSectionHoldsFailTheLoadCleanly)
{
    // Each entry of a count is a line of its section: a count beyond the section's lines is
    // damage. The load stops at once (no loop over the count), as for any damaged skin.
    const std::vector<std::vector<std::string>> hostile = {
        {"[PICTURES]", "activepicturescount=2147483647", "0=a.bmp"},
        {"[SKINOBJECTS]", "count=2147483647", "0=caption:caption"},
        {"[SKINCONTROLS]", "count=$7FFFFFFF", "0=panel:panel"},
        {"[SKINCONTROLS]", "count=3", "0=panel:panel"},
    };
    for (const auto& definition : hostile) {
        SkinData data;
        ChangeLog log(data);
        CompressedStoredSkin stored;
        stored.SetCompressedData(Pack(Minimal(definition)));
        EXPECT_THROW(data.LoadCompressedStoredSkin(stored), EInvalidSkin) << definition[1];
        EXPECT_TRUE(data.Empty);
        EXPECT_TRUE(data.ActivePictures.empty());
        EXPECT_TRUE(data.ActivePictureNames.empty());
        EXPECT_TRUE(data.SkinObjects.empty());
        EXPECT_TRUE(data.SkinControls.empty());
        EXPECT_EQ(log.kinds, (std::vector<int>{SKINMSG_BEFORE_CHANGE}));
    }
    // Counts the section can hold load, missing entries adding nothing; negative ones load none.
    SkinData data;
    CompressedStoredSkin stored;
    stored.SetCompressedData(
        Pack(Minimal({"[SKINCONTROLS]", "count=2", "0=panel:panel", "[SKINOBJECTS]", "count=-$80000000",
                      "0=caption:caption", "[PICTURES]", "activepicturescount=-1"})));
    data.LoadCompressedStoredSkin(stored);
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(data.SkinControls.size(), 1u);
    EXPECT_TRUE(data.SkinObjects.empty());
    EXPECT_TRUE(data.ActivePictureNames.empty());
}

TEST(CompressedStoredSkin, ImportRefusesWhatNoLoadCouldTake)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("p.bmp"), MakeBmp(3, 3, 24));
    const std::string head = "[VERSION]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n[PICTURES]\r\n";
    ScratchDir::Spit(dir.File("skin.ini"), head + "activepicturescount=1\r\n0=p.bmp\r\n");
    CompressedStoredSkin stored;
    stored.ImportSkinFolder(dir.File("skin.ini"));
    const std::string before = stored.CompressedData();
    ASSERT_FALSE(before.empty());

    // A count beyond its section.
    ScratchDir::Spit(dir.File("count.ini"), head + "activepicturescount=2147483647\r\n0=p.bmp\r\n");
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("count.ini")), EInvalidSkin);
    EXPECT_TRUE(stored.CompressedData() == before);

    // A picture larger than any container the load accepts (its pixels a hole in the file): the
    // import fails instead of writing a skin that could never load.
    std::string big = MakeBmp(16384, 1100, 32).substr(0, 54);
    ScratchDir::Spit(dir.File("big.bmp"), big);
    std::filesystem::resize_file(dir.File("big.bmp"), 54 + 16384LL * 1100 * 4);
    ScratchDir::Spit(dir.File("big.ini"), head + "picture=big.bmp\r\n");
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("big.ini")), EInvalidSkin);
    EXPECT_TRUE(stored.CompressedData() == before);

    // Small pictures named again and again add up to the same.
    std::string many = head + "activepicturescount=40\r\n";
    ScratchDir::Spit(dir.File("mid.bmp"), MakeBmp(1024, 512, 32));
    for (int i = 0; i < 40; ++i)
        many += std::to_string(i) + "=mid.bmp\r\n";
    ScratchDir::Spit(dir.File("many.ini"), many);
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("many.ini")), EInvalidSkin);
    EXPECT_TRUE(stored.CompressedData() == before);

    // A definition with LF line ends that fits, but would not once stored with CR LF.
    std::string text = head;
    while (text.size() < static_cast<std::size_t>(MaxSkinDefinitionSize) - 2)
        text += "x\n";
    ScratchDir::Spit(dir.File("long.ini"), text);
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("long.ini")), EInvalidSkin);
    EXPECT_TRUE(stored.CompressedData() == before);
    // Half as many lines do: what the import accepts, the load takes.
    ScratchDir::Spit(dir.File("long.ini"), text.substr(0, text.size() / 2));
    stored.ImportSkinFolder(dir.File("long.ini"));
    SkinData data;
    data.LoadCompressedStoredSkin(stored);
    EXPECT_FALSE(data.Empty);
    stored.SetCompressedData(before);

    // Files without an end are read only as far as a skin could reach.
    EXPECT_THROW(stored.ImportSkinFolder("/dev/zero"), EInvalidSkin);
    ScratchDir::Spit(dir.File("zero.ini"), head + "mask=../../../../../../dev/zero\r\n");
    EXPECT_THROW(stored.ImportSkinFolder(dir.File("zero.ini")), EInvalidGraphic);
    stored.ImportCompressedFile("/dev/zero"); // version 0, length 0: an empty stream
    EXPECT_TRUE(stored.IsEmpty());
}
