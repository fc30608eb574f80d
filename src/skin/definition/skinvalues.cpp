#include "skin/definition/skinvalues.h"

#include "skin/definition/skinini.h"
#include "skin/io/skinerrors.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorvel::skinvalue {
namespace {

constexpr std::array<const char*, 6> kEffects = {"iebrightness", "iedarkness",  "iegrayscale",
                                                 "ienoise",      "iesplitblur", "ieinvert"};
constexpr std::array<const char*, 7> kMorphs = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                                                "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 7> kCommands = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                                  "cmdefault", "cmrollup",   "cmminimizetotray"};

template <std::size_t N>
int IndexOf(const std::array<const char*, N>& names, const std::string& text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (text == names[i])
            return static_cast<int>(i);
    return -1;
}

// A field of a rectangle or point: only its digits count; none left is a conversion error.
int DigitsField(const std::string& field, const std::string& whole)
{
    std::string digits;
    for (char c : field)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    int value = 0;
    if (digits.empty() || !ParseInteger(digits, value))
        throw EConvertError("'" + whole + "' is not a valid integer value");
    return value;
}

std::vector<int> Fields(const std::string& text, std::size_t count)
{
    std::vector<int> values;
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto comma = text.find(',', start);
        const std::string field =
            start > text.size() ? std::string()
                                : text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        values.push_back(DigitsField(field, text));
        start = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
    return values;
}

} // namespace

bool ParseInteger(const std::string& text, int& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    std::uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFull)
            return false;
    }
    if (base == 10) {
        if (v > (negative ? 2147483648ull : 2147483647ull))
            return false;
        value = negative ? static_cast<int>(-static_cast<std::int64_t>(v)) : static_cast<int>(v);
    } else {
        // Hexadecimal fills all 32 bits ($FFFFFFFF is -1) and a sign negates within them, so
        // -$80000000 is the lowest integer. The negation is done unsigned: it cannot overflow.
        const auto bits = static_cast<std::uint32_t>(v);
        value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    return true;
}

int ReadInteger(const SkinIni& ini, const std::string& section, const std::string& key, int def)
{
    int value = def;
    return ParseInteger(ini.ReadString(section, key, ""), value) ? value : def;
}

bool ReadBoolean(const SkinIni& ini, const std::string& section, const std::string& key)
{
    return ReadInteger(ini, section, key, 0) == 1;
}

int ReadCount(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const int count = ReadInteger(ini, section, key, 0);
    if (count <= 0)
        return 0;
    if (static_cast<std::size_t>(count) > ini.LineCount(section))
        throw EInvalidSkin("The skin is damaged: \"" + key + "\" of section \"" + section + "\" is " +
                           std::to_string(count) + ", more entries than the section holds");
    return count;
}

SkinRect ReadRect(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const auto v = Fields(ini.ReadString(section, key, "0,0,0,0"), 4);
    return SkinRect{v[0], v[1], v[2], v[3]};
}

SkinPoint ReadPoint(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const auto v = Fields(ini.ReadString(section, key, "0,0"), 2);
    return SkinPoint{v[0], v[1]};
}

FontStyle ReadFontStyle(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const std::string s = ini.ReadString(section, key, "");
    return FontStyle{s.find("fsbold") != std::string::npos, s.find("fsitalic") != std::string::npos,
                     s.find("fsunderline") != std::string::npos, s.find("fsstrikeout") != std::string::npos};
}

TextAlignment ReadAlignment(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const std::string s = ini.ReadString(section, key, "tacenter");
    if (s == "tacenter")
        return TextAlignment::Center;
    if (s == "taleftjustify")
        return TextAlignment::Left;
    return TextAlignment::Right;
}

InactiveEffect ReadInactiveEffect(const SkinIni& ini, const std::string& section, const std::string& key)
{
    if (!ini.ValueExists(section, key))
        return InactiveEffect::Brightness;
    const int i = IndexOf(kEffects, ini.ReadString(section, key, ""));
    return i < 0 ? InactiveEffect::Grayscale : static_cast<InactiveEffect>(i);
}

MorphKind ReadMorphKind(const SkinIni& ini, const std::string& section, const std::string& key)
{
    const int i = IndexOf(kMorphs, ini.ReadString(section, key, "mkdefault"));
    return i < 0 ? MorphKind::Default : static_cast<MorphKind>(i);
}

SkinCommand ReadCommand(const SkinIni& ini, const std::string& section, const std::string& key)
{
    if (!ini.ValueExists(section, key))
        return SkinCommand::Default;
    const int i = IndexOf(kCommands, ini.ReadString(section, key, ""));
    return i < 0 ? SkinCommand::MinimizeToTray : static_cast<SkinCommand>(i);
}

void ReadListEntry(const SkinIni& ini, const std::string& section, const std::string& key, std::string& name,
                   std::string& kind)
{
    const std::string s = ini.ReadString(section, key, "");
    const auto colon = s.find(':');
    if (colon == std::string::npos) {
        name.clear();
        kind.clear();
        return;
    }
    name = s.substr(0, colon);
    kind = s.substr(colon + 1);
}

void ReadCorners(const SkinIni& ini, const std::string& section, SkinPoint& leftTop, SkinPoint& rightTop,
                 SkinPoint& leftBottom, SkinPoint& rightBottom)
{
    leftTop = ReadPoint(ini, section, "lefttoppoint");
    rightTop = ReadPoint(ini, section, "righttoppoint");
    leftBottom = ReadPoint(ini, section, "leftbottompoint");
    rightBottom = ReadPoint(ini, section, "rightbottompoint");
}

void WriteCorners(SkinIni& ini, const std::string& section, const SkinPoint& leftTop, const SkinPoint& rightTop,
                  const SkinPoint& leftBottom, const SkinPoint& rightBottom)
{
    WritePoint(ini, section, "lefttoppoint", leftTop);
    WritePoint(ini, section, "righttoppoint", rightTop);
    WritePoint(ini, section, "leftbottompoint", leftBottom);
    WritePoint(ini, section, "rightbottompoint", rightBottom);
}

void ReadStretch(const SkinIni& ini, const std::string& section, bool& left, bool& right, bool& top, bool& bottom)
{
    left = ReadBoolean(ini, section, "leftstretch");
    right = ReadBoolean(ini, section, "rightstretch");
    top = ReadBoolean(ini, section, "topstretch");
    bottom = ReadBoolean(ini, section, "bottomstretch");
}

void WriteStretch(SkinIni& ini, const std::string& section, bool left, bool right, bool top, bool bottom)
{
    WriteBoolean(ini, section, "leftstretch", left);
    WriteBoolean(ini, section, "rightstretch", right);
    WriteBoolean(ini, section, "topstretch", top);
    WriteBoolean(ini, section, "bottomstretch", bottom);
}

void ReadFont(const SkinIni& ini, const std::string& section, std::string& name, int& height, FontStyle& style)
{
    name = ini.ReadString(section, "fontname", "Arial");
    height = ReadInteger(ini, section, "fontheight", 14);
    style = ReadFontStyle(ini, section, "fontstyle");
}

void WriteFont(SkinIni& ini, const std::string& section, const std::string& name, int height, const FontStyle& style)
{
    ini.WriteString(section, "fontname", name);
    WriteInteger(ini, section, "fontheight", height);
    WriteFontStyle(ini, section, "fontstyle", style);
}

void WriteInteger(SkinIni& ini, const std::string& section, const std::string& key, int value)
{
    ini.WriteString(section, key, std::to_string(value));
}

void WriteBoolean(SkinIni& ini, const std::string& section, const std::string& key, bool value)
{
    ini.WriteString(section, key, value ? "1" : "0");
}

void WriteRect(SkinIni& ini, const std::string& section, const std::string& key, const SkinRect& r)
{
    ini.WriteString(section, key,
                    std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                        std::to_string(r.bottom));
}

void WritePoint(SkinIni& ini, const std::string& section, const std::string& key, const SkinPoint& p)
{
    ini.WriteString(section, key, std::to_string(p.x) + "," + std::to_string(p.y));
}

void WriteFontStyle(SkinIni& ini, const std::string& section, const std::string& key, const FontStyle& f)
{
    std::string s;
    auto add = [&s](bool on, const char* word) {
        if (on)
            s += (s.empty() ? "" : ",") + std::string(word);
    };
    add(f.bold, "fsbold");
    add(f.italic, "fsitalic");
    add(f.underline, "fsunderline");
    add(f.strikeOut, "fsstrikeout");
    ini.WriteString(section, key, s);
}

void WriteAlignment(SkinIni& ini, const std::string& section, const std::string& key, TextAlignment a)
{
    ini.WriteString(section, key,
                    a == TextAlignment::Center ? "tacenter"
                    : a == TextAlignment::Left ? "taleftjustify"
                                               : "tarightjustify");
}

void WriteInactiveEffect(SkinIni& ini, const std::string& section, const std::string& key, InactiveEffect e)
{
    ini.WriteString(section, key, kEffects[static_cast<int>(e)]);
}

void WriteMorphKind(SkinIni& ini, const std::string& section, const std::string& key, MorphKind m)
{
    ini.WriteString(section, key, kMorphs[static_cast<int>(m)]);
}

void WriteCommand(SkinIni& ini, const std::string& section, const std::string& key, SkinCommand c)
{
    ini.WriteString(section, key, kCommands[static_cast<int>(c)]);
}

} // namespace quorvel::skinvalue
