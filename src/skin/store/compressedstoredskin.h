#pragma once

#include "skin/io/stream.h"

#include <QObject>

#include <string>

namespace quorvel {

// The skin that travels inside the program: one zlib stream which inflates to a skin container.
class CompressedStoredSkin : public QObject {
    Q_OBJECT
public:
    explicit CompressedStoredSkin(QObject* owner = nullptr);

    std::string Description;
    // Bare names of what the stream was built from; assigning them in the running program only
    // stores the name.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    const std::string& CompressedFileName() const { return compressedFileName_; }
    void SetCompressedFileName(const std::string& name) { compressedFileName_ = name; }

    // The persisted value "CompressedData": the zlib stream, byte for byte.
    const std::string& CompressedData() const { return compressed_.Bytes(); }
    void SetCompressedData(const std::string& bytes);
    bool IsEmpty() const { return compressed_.Size() == 0; }

    // Inflates the stream into target; a stream inflating to more than MaxSkinContainerSize
    // bytes is refused with EDecompressionError.
    void ExtractContainer(MemoryStream& target);
    // Builds the stream from a "skin.ini" and the bitmap files beside it. A definition without
    // all of "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS" and "SKINCONTROLS", or any failure,
    // leaves the old stream as it was.
    void ImportSkinFolder(const std::string& skinIniPath);
    // Takes the stream from a compressed skin file: version (at most 3), length, zlib stream.
    void ImportCompressedFile(const std::string& path);

private:
    MemoryStream compressed_;
    std::string fileName_;
    std::string compressedFileName_;
};

} // namespace quorvel
