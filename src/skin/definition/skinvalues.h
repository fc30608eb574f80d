#pragma once

#include <string>

namespace quorvel {

class SkinIni;

// A rectangle of skin pixels; right and bottom are exclusive.
struct SkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Empty when its width or height is below 1.
    bool IsEmpty() const { return Width() < 1 || Height() < 1; }
    bool operator==(const SkinRect&) const = default;
};

struct SkinPoint {
    int x = 0, y = 0;
    bool operator==(const SkinPoint&) const = default;
};

struct FontStyle {
    bool bold = false, italic = false, underline = false, strikeOut = false;
    bool operator==(const FontStyle&) const = default;
};

enum class TextAlignment { Left, Right, Center };
enum class InactiveEffect { Brightness, Darkness, Grayscale, Noise, SplitBlur, Invert };
enum class MorphKind { Default, Gradient, LeftGradient, RightGradient, LeftSlide, RightSlide, Push };
enum class SkinCommand { Close, Maximize, Minimize, SysMenu, Default, RollUp, MinimizeToTray };

// A colour 0x00BBGGRR.
using SkinColor = int;

// The value encodings of the skin definition: each reader takes the key's text from the
// definition (absent keys give the documented default) and each writer puts the same form back.
namespace skinvalue {

int ReadInteger(const SkinIni& ini, const std::string& section, const std::string& key, int def);
bool ReadBoolean(const SkinIni& ini, const std::string& section, const std::string& key);
// A count of entries that stand in the same section ("count", "activepicturescount"): an
// integer, default 0, negative read as 0. A count beyond the lines of its section cannot be
// met by any definition and throws EInvalidSkin, so no loop ever runs over a hostile count.
int ReadCount(const SkinIni& ini, const std::string& section, const std::string& key);
// Throws EConvertError when a field is empty once its non-digits are dropped.
SkinRect ReadRect(const SkinIni& ini, const std::string& section, const std::string& key);
SkinPoint ReadPoint(const SkinIni& ini, const std::string& section, const std::string& key);
FontStyle ReadFontStyle(const SkinIni& ini, const std::string& section, const std::string& key);
TextAlignment ReadAlignment(const SkinIni& ini, const std::string& section, const std::string& key);
InactiveEffect ReadInactiveEffect(const SkinIni& ini, const std::string& section, const std::string& key);
MorphKind ReadMorphKind(const SkinIni& ini, const std::string& section, const std::string& key);
SkinCommand ReadCommand(const SkinIni& ini, const std::string& section, const std::string& key);
// A list entry "name:kind"; without ":" both are empty.
void ReadListEntry(const SkinIni& ini, const std::string& section, const std::string& key, std::string& name,
                   std::string& kind);

void WriteInteger(SkinIni& ini, const std::string& section, const std::string& key, int value);
void WriteBoolean(SkinIni& ini, const std::string& section, const std::string& key, bool value);
void WriteRect(SkinIni& ini, const std::string& section, const std::string& key, const SkinRect& value);
void WritePoint(SkinIni& ini, const std::string& section, const std::string& key, const SkinPoint& value);
void WriteFontStyle(SkinIni& ini, const std::string& section, const std::string& key, const FontStyle& value);
void WriteAlignment(SkinIni& ini, const std::string& section, const std::string& key, TextAlignment value);
void WriteInactiveEffect(SkinIni& ini, const std::string& section, const std::string& key, InactiveEffect value);
void WriteMorphKind(SkinIni& ini, const std::string& section, const std::string& key, MorphKind value);
void WriteCommand(SkinIni& ini, const std::string& section, const std::string& key, SkinCommand value);

// Groups of keys that many sections share: the four corner points, the four stretch flags,
// and a font's face, height and style.
void ReadCorners(const SkinIni& ini, const std::string& section, SkinPoint& leftTop, SkinPoint& rightTop,
                 SkinPoint& leftBottom, SkinPoint& rightBottom);
void WriteCorners(SkinIni& ini, const std::string& section, const SkinPoint& leftTop, const SkinPoint& rightTop,
                  const SkinPoint& leftBottom, const SkinPoint& rightBottom);
void ReadStretch(const SkinIni& ini, const std::string& section, bool& left, bool& right, bool& top, bool& bottom);
void WriteStretch(SkinIni& ini, const std::string& section, bool left, bool right, bool top, bool bottom);
void ReadFont(const SkinIni& ini, const std::string& section, std::string& name, int& height, FontStyle& style);
void WriteFont(SkinIni& ini, const std::string& section, const std::string& name, int height, const FontStyle& style);

// Integer text as the definition has it: optional sign and decimal digits, or "$", "0x", "0X"
// and hexadecimal digits. False for anything else or out of range.
bool ParseInteger(const std::string& text, int& value);

} // namespace skinvalue
} // namespace quorvel
