// The whole skin load from outside data. The input is a skin folder: a "skin.ini", then, each
// after a line "@@file@@", the files "a", "b", "c", ... that the definition may name as its
// pictures. The stored-skin import packs the folder, the skin data loads what it packed.
// The same folder is also packed straight into a container, past the import's checks, so the
// load meets what only a hand-made container holds (counts the import would refuse).
// Either step may refuse with one of the program's errors; beyond that:
// - what the import packed, the container reader reads;
// - a load that fails leaves the skin empty;
// - a loaded skin written back as a definition loads again.
#include "base/exception.h"
#include "skin/data/skindata.h"
#include "skin/definition/skinini.h"
#include "skin/io/skinerrors.h"
#include "skin/io/zlibstreams.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skincontainer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kSeparator = "\n@@file@@\n";
constexpr int kFiles = 16;

// A folder of this process, in memory where the system has one, removed at exit.
struct ScratchFolder {
    std::string path;
    ScratchFolder()
    {
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
        path = (base / "quorvel-fuzz-skin-XXXXXX").string();
        if (!::mkdtemp(path.data()))
            std::abort();
        path += "/";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& Folder()
{
    static const ScratchFolder folder;
    return folder.path;
}

void Write(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Cleared(const quorvel::SkinData& data)
{
    return data.Empty && data.SkinObjects.empty() && data.SkinControls.empty() && data.ActivePictures.empty() &&
           data.ActivePictureNames.empty() && data.Picture.Empty() && data.Mask.Empty();
}

// Loads the stored skin: a failure leaves the skin empty, a success writes back a definition
// that loads again.
void Load(quorvel::CompressedStoredSkin& stored)
{
    quorvel::SkinData data;
    try {
        data.LoadCompressedStoredSkin(stored);
    } catch (const quorvel::Exception&) {
        if (!Cleared(data))
            __builtin_trap(); // a failed load left part of a skin behind
        return;
    }
    quorvel::SkinIni saved;
    data.SaveToIni(saved);
    quorvel::SkinData again;
    try {
        again.LoadFromDefinition(quorvel::SkinIni(saved.Lines()));
    } catch (const quorvel::Exception&) {
        __builtin_trap(); // the skin data wrote a definition it cannot read
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= input.size() && parts.size() < 1 + kFiles;) {
        const std::size_t end = std::min(input.find(kSeparator, start), input.size());
        parts.push_back(input.substr(start, end - start));
        start = end + kSeparator.size();
    }
    for (int part = -1; part < kFiles; ++part) {
        const std::string path = Folder() + (part < 0 ? std::string("skin.ini") : std::string(1, char('a' + part)));
        if (static_cast<std::size_t>(part + 1) < parts.size()) {
            Write(path, parts[static_cast<std::size_t>(part + 1)]);
        } else {
            std::error_code ignored; // a file of an earlier input that this one does not have
            std::filesystem::remove(path, ignored);
        }
    }

    // Through the import.
    quorvel::CompressedStoredSkin stored;
    try {
        stored.ImportSkinFolder(Folder() + "skin.ini");
    } catch (const quorvel::Exception&) {
    }
    if (!stored.IsEmpty()) {
        try {
            quorvel::MemoryStream plain;
            stored.ExtractContainer(plain);
            plain.SetPosition(0);
            (void)quorvel::SkinContainer::Read(plain);
        } catch (const quorvel::Exception&) {
            __builtin_trap(); // the import wrote a container that no load can read
        }
        Load(stored);
    }

    // Straight into a container: "a" the frame picture, "b" the mask, every file that is an
    // image a numbered picture.
    quorvel::SkinContainer container;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        try {
            quorvel::MemoryStream s{std::string(parts[i])};
            quorvel::SkinBitmap b;
            b.LoadFromStream(s);
            (i == 1 ? container.picture : i == 2 ? container.mask : container.pictures.emplace_back()) = b;
        } catch (const quorvel::Exception&) {
        }
    }
    container.definition = quorvel::SplitLines(std::string(parts[0]));
    quorvel::MemoryStream plain, packed;
    container.Write(plain);
    quorvel::CompressStream(plain, packed);
    quorvel::CompressedStoredSkin direct;
    direct.SetCompressedData(packed.Bytes());
    Load(direct);
    return 0;
}
