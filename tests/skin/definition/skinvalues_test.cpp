#include "skin/definition/skinini.h"
#include "skin/definition/skinvalues.h"
#include "skin/io/skinerrors.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvel;
using namespace quorvel::skinvalue;

namespace {

SkinIni Ini(const std::string& body) { return SkinIni(std::vector<std::string>{"[S]", body}); }

} // namespace

TEST(SkinValues, IntegersAndBooleans)
{
    int v = 0;
    EXPECT_TRUE(ParseInteger("-42", v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(ParseInteger("$ff", v));
    EXPECT_EQ(v, 255);
    EXPECT_TRUE(ParseInteger("0X10", v));
    EXPECT_EQ(v, 16);
    EXPECT_TRUE(ParseInteger("$FFFFFFFF", v));
    EXPECT_EQ(v, -1);
    for (const char* bad : {"", "-", "12a", "0x", "99999999999", " 1"})
        EXPECT_FALSE(ParseInteger(bad, v)) << bad;
    // Negated hexadecimal wraps within 32 bits too; the lowest value reads without overflow.
    EXPECT_TRUE(ParseInteger("-$80000000", v));
    EXPECT_EQ(v, std::numeric_limits<int>::min());
    EXPECT_TRUE(ParseInteger("-0x1", v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(ParseInteger("-$FFFFFFFF", v));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(ParseInteger("-2147483648", v));
    EXPECT_EQ(v, std::numeric_limits<int>::min());
    EXPECT_FALSE(ParseInteger("-2147483649", v));
    EXPECT_FALSE(ParseInteger("$100000000", v));
    EXPECT_EQ(ReadInteger(Ini("k=abc"), "S", "k", 7), 7);
    EXPECT_EQ(ReadInteger(Ini("x=1"), "S", "k", -1), -1);
    EXPECT_TRUE(ReadBoolean(Ini("k=1"), "S", "k"));
    EXPECT_TRUE(ReadBoolean(Ini("k=$1"), "S", "k"));
    EXPECT_FALSE(ReadBoolean(Ini("k=2"), "S", "k"));
    EXPECT_FALSE(ReadBoolean(Ini("k=true"), "S", "k"));
}

TEST(SkinValues, RectanglesKeepOnlyDigits)
{
    EXPECT_EQ(ReadRect(Ini("r=-5,3 ,x7y,1 0"), "S", "r"), (SkinRect{5, 3, 7, 10}));
    EXPECT_EQ(ReadRect(Ini("x=1"), "S", "r"), SkinRect{});
    EXPECT_EQ(ReadPoint(Ini("p=12,34,56"), "S", "p"), (SkinPoint{12, 34})); // extra fields ignored
    EXPECT_THROW(ReadRect(Ini("r=1,,3,4"), "S", "r"), EConvertError);
    EXPECT_THROW(ReadRect(Ini("r=1,2,3"), "S", "r"), EConvertError);
    EXPECT_THROW(ReadRect(Ini("r="), "S", "r"), EConvertError);
    EXPECT_THROW(ReadPoint(Ini("p=a,b"), "S", "p"), EConvertError);
    EXPECT_TRUE((SkinRect{5, 5, 5, 9}).IsEmpty());
    EXPECT_FALSE((SkinRect{5, 5, 6, 6}).IsEmpty());
}

TEST(SkinValues, EnumerationsCompareExactlyWithTheirFallbacks)
{
    EXPECT_EQ(ReadMorphKind(Ini("m=mkpush"), "S", "m"), MorphKind::Push);
    EXPECT_EQ(ReadMorphKind(Ini("m=MKPUSH"), "S", "m"), MorphKind::Default);
    EXPECT_EQ(ReadCommand(Ini("c=cmclose"), "S", "c"), SkinCommand::Close);
    EXPECT_EQ(ReadCommand(Ini("c=CMCLOSE"), "S", "c"), SkinCommand::MinimizeToTray);
    EXPECT_EQ(ReadCommand(Ini("x=1"), "S", "c"), SkinCommand::Default);
    EXPECT_EQ(ReadInactiveEffect(Ini("e="), "S", "e"), InactiveEffect::Grayscale);
    EXPECT_EQ(ReadInactiveEffect(Ini("x=1"), "S", "e"), InactiveEffect::Brightness);
    EXPECT_EQ(ReadInactiveEffect(Ini("e=ieinvert"), "S", "e"), InactiveEffect::Invert);
    EXPECT_EQ(ReadAlignment(Ini("x=1"), "S", "a"), TextAlignment::Center);
    EXPECT_EQ(ReadAlignment(Ini("a=taleftjustify"), "S", "a"), TextAlignment::Left);
    EXPECT_EQ(ReadAlignment(Ini("a=TaCenter"), "S", "a"), TextAlignment::Right);
    EXPECT_EQ(ReadFontStyle(Ini("f=fsbold,fsitalic"), "S", "f"), (FontStyle{true, true, false, false}));
    EXPECT_EQ(ReadFontStyle(Ini("f=bold"), "S", "f"), FontStyle{});
    std::string name, kind;
    ReadListEntry(Ini("e=panel:panel:x"), "S", "e", name, kind);
    EXPECT_EQ(name, "panel");
    EXPECT_EQ(kind, "panel:x");
    ReadListEntry(Ini("e=nocolon"), "S", "e", name, kind);
    EXPECT_TRUE(name.empty() && kind.empty());
}

TEST(SkinValues, WritersGiveTheReadingForms)
{
    SkinIni ini;
    WriteRect(ini, "S", "r", SkinRect{1, 2, 3, 4});
    WriteFontStyle(ini, "S", "f", FontStyle{true, false, true, false});
    WriteFontStyle(ini, "S", "none", FontStyle{});
    WriteBoolean(ini, "S", "b", true);
    WriteCommand(ini, "S", "c", SkinCommand::RollUp);
    WriteAlignment(ini, "S", "a", TextAlignment::Right);
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[S]", "r=1,2,3,4", "f=fsbold,fsunderline", "none=", "b=1",
                                                     "c=cmrollup", "a=tarightjustify"}));
}

TEST(SkinIni, SyntaxRules)
{
    const SkinIni ini(std::vector<std::string>{"before=ignored", "\t[ Sec ] \x01", "  Key = Va lue  ", "; k=no",
                                               "plain line", "[sec]", "other=1", "Key=second"});
    EXPECT_EQ(ini.ReadString("SEC", "key", "d"), "Va lue");
    EXPECT_EQ(ini.ReadString("sec", "other", "d"), "1");
    EXPECT_EQ(ini.ReadString("sec", "k", "d"), "d");
    EXPECT_EQ(ini.ReadString("sec", "plain line", "d"), "d");
    EXPECT_FALSE(ini.SectionExists("before"));
    EXPECT_TRUE(ini.ValueExists("Sec", "OTHER"));
}
