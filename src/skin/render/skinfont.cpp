#include "skin/render/skinfont.h"

namespace quorvel {
namespace {

// The default face of the skin engine, "宋体", arrives as its four GB2312 bytes.
constexpr const char* kSongTiGb2312 = "\xCB\xCE\xCC\xE5";

QString FaceName(const std::string& face)
{
    if (face == kSongTiGb2312)
        return QStringLiteral("宋体");
    return QString::fromLocal8Bit(face);
}

} // namespace

QFont SkinFont(const std::string& face, int pixelHeight, const FontStyle& style)
{
    QFont font(FaceName(face));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : 12);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    // The Chinese face is rarely installed as such: let the desktop choose one that has the glyphs.
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

} // namespace quorvel
