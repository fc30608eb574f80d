#include "skin/definition/skinfields.h"

#include "skin/definition/skinini.h"

namespace quorvel {

using namespace skinvalue;

void SkinFieldReader::Text(const char* key, std::string& value) { value = ini_.ReadString(section_, key, ""); }
void SkinFieldReader::Integer(const char* key, int& value, int def) { value = ReadInteger(ini_, section_, key, def); }
void SkinFieldReader::Boolean(const char* key, bool& value) { value = ReadBoolean(ini_, section_, key); }
void SkinFieldReader::Rect(const char* key, SkinRect& value) { value = ReadRect(ini_, section_, key); }
void SkinFieldReader::Point(const char* key, SkinPoint& value) { value = ReadPoint(ini_, section_, key); }
void SkinFieldReader::Alignment(const char* key, TextAlignment& value) { value = ReadAlignment(ini_, section_, key); }
void SkinFieldReader::Effect(const char* key, InactiveEffect& value)
{
    value = ReadInactiveEffect(ini_, section_, key);
}
void SkinFieldReader::Morph(const char* key, MorphKind& value) { value = ReadMorphKind(ini_, section_, key); }
void SkinFieldReader::Command(const char* key, SkinCommand& value) { value = ReadCommand(ini_, section_, key); }
void SkinFieldReader::Corners(SkinPoint& leftTop, SkinPoint& rightTop, SkinPoint& leftBottom, SkinPoint& rightBottom)
{
    ReadCorners(ini_, section_, leftTop, rightTop, leftBottom, rightBottom);
}
void SkinFieldReader::Stretch(bool& left, bool& right, bool& top, bool& bottom)
{
    ReadStretch(ini_, section_, left, right, top, bottom);
}
void SkinFieldReader::Font(std::string& name, int& height, FontStyle& style)
{
    ReadFont(ini_, section_, name, height, style);
}

void SkinFieldWriter::Text(const char* key, const std::string& value) { ini_.WriteString(section_, key, value); }
void SkinFieldWriter::Integer(const char* key, int value, int) { WriteInteger(ini_, section_, key, value); }
void SkinFieldWriter::Boolean(const char* key, bool value) { WriteBoolean(ini_, section_, key, value); }
void SkinFieldWriter::Rect(const char* key, const SkinRect& value) { WriteRect(ini_, section_, key, value); }
void SkinFieldWriter::Point(const char* key, const SkinPoint& value) { WritePoint(ini_, section_, key, value); }
void SkinFieldWriter::Alignment(const char* key, TextAlignment value) { WriteAlignment(ini_, section_, key, value); }
void SkinFieldWriter::Effect(const char* key, InactiveEffect value) { WriteInactiveEffect(ini_, section_, key, value); }
void SkinFieldWriter::Morph(const char* key, MorphKind value) { WriteMorphKind(ini_, section_, key, value); }
void SkinFieldWriter::Command(const char* key, SkinCommand value) { WriteCommand(ini_, section_, key, value); }
void SkinFieldWriter::Corners(const SkinPoint& leftTop, const SkinPoint& rightTop, const SkinPoint& leftBottom,
                              const SkinPoint& rightBottom)
{
    WriteCorners(ini_, section_, leftTop, rightTop, leftBottom, rightBottom);
}
void SkinFieldWriter::Stretch(bool left, bool right, bool top, bool bottom)
{
    WriteStretch(ini_, section_, left, right, top, bottom);
}
void SkinFieldWriter::Font(const std::string& name, int height, const FontStyle& style)
{
    WriteFont(ini_, section_, name, height, style);
}

} // namespace quorvel
