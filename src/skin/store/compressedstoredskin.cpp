#include "compressedstoredskin.h"

#include "skincontainer.h"
#include "skinerrors.h"
#include "skinini.h"
#include "skinvalues.h"
#include "zlibstreams.h"

#include <fstream>
#include <sstream>

namespace quorvel {
namespace {

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + path + "\"");
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

SkinBitmap LoadNamed(const std::string& folder, const std::string& name)
{
    SkinBitmap b;
    if (!name.empty())
        b.LoadFromFile(folder + name);
    return b;
}

} // namespace

CompressedStoredSkin::CompressedStoredSkin(QObject* owner) : QObject(owner) {}

void CompressedStoredSkin::SetCompressedData(const std::string& bytes) { compressed_ = MemoryStream(bytes); }

void CompressedStoredSkin::ExtractContainer(MemoryStream& target) { DecompressStream(target, compressed_); }

void CompressedStoredSkin::ImportSkinFolder(const std::string& skinIniPath)
{
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(skinIniPath));
    const SkinIni ini(lines);
    for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!ini.SectionExists(section))
            return;
    const auto slash = skinIniPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : skinIniPath.substr(0, slash + 1);

    SkinContainer container;
    container.picture = LoadNamed(folder, ini.ReadString("PICTURES", "picture", ""));
    container.inactivePicture = LoadNamed(folder, ini.ReadString("PICTURES", "inactivepicture", ""));
    container.mask = LoadNamed(folder, ini.ReadString("PICTURES", "mask", ""));
    const int count = skinvalue::ReadInteger(ini, "PICTURES", "activepicturescount", 0);
    for (int i = 0; i < count; ++i) {
        SkinBitmap b;
        b.LoadFromFile(folder + ini.ReadString("PICTURES", std::to_string(i), ""));
        container.pictures.push_back(std::move(b));
    }
    container.definition = lines;

    MemoryStream plain;
    container.Write(plain);
    // Built completely before the old stream is replaced, so a failure changes nothing.
    MemoryStream packed;
    CompressStream(plain, packed);
    compressed_ = std::move(packed);
}

void CompressedStoredSkin::ImportCompressedFile(const std::string& path)
{
    compressed_.Clear();
    MemoryStream file(ReadFileBytes(path));
    unsigned char head[8];
    if (file.Read(head, 4) != 4)
        return;
    const auto version = static_cast<std::int32_t>(head[0] | head[1] << 8 | head[2] << 16 | std::uint32_t(head[3]) << 24);
    if (version > 3)
        return;
    file.ReadBuffer(head + 4, 4);
    const auto length = static_cast<std::int32_t>(head[4] | head[5] << 8 | head[6] << 16 | std::uint32_t(head[7]) << 24);
    if (length <= 0)
        return;
    if (length > file.Remaining())
        throw EReadError("Stream read error");
    compressed_.CopyFrom(file, length);
}

} // namespace quorvel
