#include "skin/store/compressedstoredskin.h"

#include "skin/definition/skinini.h"
#include "skin/definition/skinvalues.h"
#include "skin/io/skinerrors.h"
#include "skin/io/zlibstreams.h"
#include "skin/store/skincontainer.h"
#include "skin/store/skinlimits.h"

#include <fstream>

namespace quorvel {
namespace {

// The whole file, when it holds at most limit bytes; reading stops right after that.
std::string ReadFileBytes(const std::string& path, std::int64_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + path + "\"");
    std::string bytes;
    char buffer[CustomZlibStream::BufferSize];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (static_cast<std::int64_t>(bytes.size()) > limit)
            throw EInvalidSkin("The file \"" + path + "\" is larger than a skin can be");
    }
    return bytes;
}

SkinBitmap LoadNamed(const std::string& folder, const std::string& name, std::int64_t room)
{
    SkinBitmap b;
    if (!name.empty())
        b.LoadFromFile(folder + name, room);
    return b;
}

// What is left of the largest container once the bitmap is added; throws when nothing is.
std::int64_t Take(std::int64_t room, const SkinBitmap& bitmap)
{
    room -= static_cast<std::int64_t>(bitmap.Bytes().size());
    if (room < 0)
        throw EInvalidSkin("The skin's pictures are larger than a skin can hold");
    return room;
}

} // namespace

CompressedStoredSkin::CompressedStoredSkin(QObject* owner) : QObject(owner) { }

void CompressedStoredSkin::SetCompressedData(const std::string& bytes) { compressed_ = MemoryStream(bytes); }

void CompressedStoredSkin::ExtractContainer(MemoryStream& target)
{
    DecompressStream(target, compressed_, MaxSkinContainerSize);
}

void CompressedStoredSkin::ImportSkinFolder(const std::string& skinIniPath)
{
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(skinIniPath, MaxSkinDefinitionSize));
    const SkinIni ini(lines);
    for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!ini.SectionExists(section))
            return;
    const auto slash = skinIniPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : skinIniPath.substr(0, slash + 1);

    // Only what a load can take is built: the container's size is counted as it grows.
    std::int64_t room = MaxSkinContainerSize;
    SkinContainer container;
    container.picture = LoadNamed(folder, ini.ReadString("PICTURES", "picture", ""), room);
    room = Take(room, container.picture);
    container.inactivePicture = LoadNamed(folder, ini.ReadString("PICTURES", "inactivepicture", ""), room);
    room = Take(room, container.inactivePicture);
    container.mask = LoadNamed(folder, ini.ReadString("PICTURES", "mask", ""), room);
    room = Take(room, container.mask);
    const int count = skinvalue::ReadCount(ini, "PICTURES", "activepicturescount");
    for (int i = 0; i < count; ++i) {
        SkinBitmap b;
        b.LoadFromFile(folder + ini.ReadString("PICTURES", std::to_string(i), ""), room);
        room = Take(room, b);
        container.pictures.push_back(std::move(b));
    }
    container.definition = lines;
    // The container holds the lines with CR LF, which may be longer than the file was.
    std::int64_t text = 0;
    for (const auto& line : lines)
        text += static_cast<std::int64_t>(line.size()) + 2;
    if (text > MaxSkinDefinitionSize)
        throw EInvalidSkin("The skin's definition is longer than a skin's can be");

    MemoryStream plain;
    container.Write(plain);
    if (plain.Size() > MaxSkinContainerSize)
        throw EInvalidSkin("The skin is larger than a skin can be");
    // Built completely before the old stream is replaced, so a failure changes nothing.
    MemoryStream packed;
    CompressStream(plain, packed);
    compressed_ = std::move(packed);
}

void CompressedStoredSkin::ImportCompressedFile(const std::string& path)
{
    compressed_.Clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + path + "\"");
    unsigned char head[8];
    if (!in.read(reinterpret_cast<char*>(head), 4))
        return;
    const auto version =
        static_cast<std::int32_t>(head[0] | head[1] << 8 | head[2] << 16 | std::uint32_t(head[3]) << 24);
    if (version > 3)
        return;
    if (!in.read(reinterpret_cast<char*>(head + 4), 4))
        throw EReadError("Stream read error");
    const auto length =
        static_cast<std::int32_t>(head[4] | head[5] << 8 | head[6] << 16 | std::uint32_t(head[7]) << 24);
    if (length <= 0)
        return;
    // No container a load takes deflates to more than this; only the stream is read, never
    // what follows it.
    if (length > DeflatedSizeBound(MaxSkinContainerSize))
        throw EInvalidSkin("The compressed skin \"" + path + "\" is larger than a skin can be");
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (!in.read(bytes.data(), length))
        throw EReadError("Stream read error");
    compressed_ = MemoryStream(std::move(bytes));
}

} // namespace quorvel
