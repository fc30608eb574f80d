#include "skinfixture.h"

#include "app/storedskin.h"
#include "skin/definition/skinini.h"
#include "skin/io/stream.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skinbitmap.h"

#include <QBuffer>

using namespace quorvel;

std::unique_ptr<SkinData> MakeSkin(const std::vector<QImage>& pictures, const std::vector<std::string>& definition)
{
    auto data = std::make_unique<SkinData>();
    for (const QImage& image : pictures) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
        MemoryStream stream(bytes.toStdString());
        SkinBitmap bitmap;
        bitmap.LoadFromStream(stream);
        data->ActivePictures.push_back(std::move(bitmap));
    }
    data->LoadFromDefinition(SkinIni(definition));
    data->Empty = false;
    return data;
}

std::unique_ptr<SkinData> OwnSkin()
{
    auto data = std::make_unique<SkinData>();
    auto* stored = new CompressedStoredSkin(data.get());
    stored->SetCompressedData(StoredSkinData());
    data->SetCompressedStoredSkin(stored);
    return data;
}

QImage Picture(const SkinData& data, int index)
{
    const std::string& bytes = data.ActivePictures.at(static_cast<std::size_t>(index)).Bytes();
    return QImage::fromData(QByteArray::fromStdString(bytes), "BMP").convertToFormat(QImage::Format_RGB32);
}

QImage Solid(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor Pixel(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

bool AllOf(const QImage& image, const QRect& area, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (QColor(image.pixel(x, y)).rgb() != colour.rgb())
                return false;
    return true;
}
