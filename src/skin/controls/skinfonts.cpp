#include "skinfonts.h"

#include "dataskincontrols.h"

#include <QStringDecoder>

namespace quorvel {

QString SkinFontFace(const std::string& name)
{
    if (name == DefaultSkinFontName)
        return QStringLiteral("宋体");
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArray::fromStdString(name));
    return utf8.hasError() ? QString::fromLatin1(name) : text;
}

QFont SkinFont(const std::string& name, int height, const FontStyle& style)
{
    QFont font(SkinFontFace(name));
    font.setPixelSize(height > 0 ? height : 12); // no height: the default size
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    return font;
}

QFont DefaultControlFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

} // namespace quorvel
