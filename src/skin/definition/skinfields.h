#pragma once

#include "skin/definition/skinvalues.h"

#include <string>

namespace quorvel {

// A section's keys are named once, in one function that takes either of these two: the reader
// fills the fields from the definition, the writer puts them back in the same encodings. What
// is read is what is written, key for key.
class SkinFieldReader {
public:
    SkinFieldReader(const SkinIni& ini, const std::string& section) : ini_(ini), section_(section) { }

    void Text(const char* key, std::string& value);
    void Integer(const char* key, int& value, int def);
    void Boolean(const char* key, bool& value);
    void Rect(const char* key, SkinRect& value);
    void Point(const char* key, SkinPoint& value);
    void Alignment(const char* key, TextAlignment& value);
    void Effect(const char* key, InactiveEffect& value);
    void Morph(const char* key, MorphKind& value);
    void Command(const char* key, SkinCommand& value);
    void Corners(SkinPoint& leftTop, SkinPoint& rightTop, SkinPoint& leftBottom, SkinPoint& rightBottom);
    void Stretch(bool& left, bool& right, bool& top, bool& bottom);
    void Font(std::string& name, int& height, FontStyle& style);

private:
    const SkinIni& ini_;
    const std::string& section_;
};

class SkinFieldWriter {
public:
    SkinFieldWriter(SkinIni& ini, const std::string& section) : ini_(ini), section_(section) { }

    void Text(const char* key, const std::string& value);
    void Integer(const char* key, int value, int def);
    void Boolean(const char* key, bool value);
    void Rect(const char* key, const SkinRect& value);
    void Point(const char* key, const SkinPoint& value);
    void Alignment(const char* key, TextAlignment value);
    void Effect(const char* key, InactiveEffect value);
    void Morph(const char* key, MorphKind value);
    void Command(const char* key, SkinCommand value);
    void Corners(const SkinPoint& leftTop, const SkinPoint& rightTop, const SkinPoint& leftBottom,
                 const SkinPoint& rightBottom);
    void Stretch(bool left, bool right, bool top, bool bottom);
    void Font(const std::string& name, int height, const FontStyle& style);

private:
    SkinIni& ini_;
    const std::string& section_;
};

} // namespace quorvel
