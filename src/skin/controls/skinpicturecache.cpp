#include "skin/controls/skinpicturecache.h"

#include "skin/data/skindata.h"
#include "skin/render/skinpictures.h"

#include <QObject>

#include <map>
#include <set>
#include <utility>

namespace quorvel {
namespace {

struct Decoded {
    // The bytes the image came from: a skin loaded later holds other buffers.
    const char* bytes = nullptr;
    std::size_t size = 0;
    QImage image;
};

std::map<std::pair<const SkinData*, int>, Decoded>& Cache()
{
    static std::map<std::pair<const SkinData*, int>, Decoded> cache;
    return cache;
}

// Skin data whose end is watched, so that its pictures go with it.
std::set<const SkinData*>& Watched()
{
    static std::set<const SkinData*> watched;
    return watched;
}

} // namespace

QImage SkinPicture(const SkinData* data, int index)
{
    if (!data || index < 0 || static_cast<std::size_t>(index) >= data->ActivePictures.size())
        return {};
    const SkinBitmap& bitmap = data->ActivePictures[static_cast<std::size_t>(index)];
    if (bitmap.Empty())
        return {};
    const std::string& bytes = bitmap.Bytes();
    auto& cache = Cache();
    const auto key = std::make_pair(data, index);
    auto it = cache.find(key);
    if (it != cache.end() && it->second.bytes == bytes.data() && it->second.size == bytes.size())
        return it->second.image;
    if (Watched().insert(data).second)
        QObject::connect(data, &QObject::destroyed, [data] {
            ForgetSkinPictures(data);
            Watched().erase(data);
        });
    QImage image = SkinPictures::Decode(bitmap);
    cache[key] = Decoded{bytes.data(), bytes.size(), image};
    return image;
}

void ForgetSkinPictures(const SkinData* data)
{
    auto& cache = Cache();
    for (auto it = cache.begin(); it != cache.end();)
        it = it->first.first == data ? cache.erase(it) : std::next(it);
}

} // namespace quorvel
