#pragma once

#include <string>

namespace quorvel {

// A new catalogue written whole beside the one it replaces (".VisibleAPI.dat.staged" in the
// same folder, so that putting it in place is one rename), synced to the disk before anything
// refers to it. The database commits to it by its checksum (PendingCatalogue), then Install
// renames it over the catalogue and syncs the folder. A staged file that was never committed to
// is removed when the object goes; one that was is left for the next start to put in place.
class StagedCatalogue {
public:
    // The catalogue is named as the viewer gave it; through a symbolic link the file it names is
    // the one replaced, so the link itself stays.
    explicit StagedCatalogue(const std::string& catalogueFile);
    ~StagedCatalogue();
    StagedCatalogue(const StagedCatalogue&) = delete;
    StagedCatalogue& operator=(const StagedCatalogue&) = delete;

    // The file replaced and the staged file beside it.
    static std::string TargetOf(const std::string& catalogueFile);
    static std::string StagedFileOf(const std::string& catalogueFile);
    // The checksum a committed change names: SHA-256 of the bytes, in hexadecimal; empty when
    // the file cannot be read.
    static std::string ChecksumOfFile(const std::string& file);
    static std::string ChecksumOf(const std::string& bytes);

    // Writes and syncs the staged file. Throws EIniFileException "Unable to write to <catalogue>:
    // <the system's reason>" (the old catalogue stays as it is).
    void Write(const std::string& bytes);
    const std::string& Checksum() const { return checksum_; }
    // The database committed to it: from now on it is put in place, here or at the next start.
    void Committed() { committed_ = true; }
    // Renames it over the catalogue and syncs the folder; throws as Write does.
    void Install();

    // Puts a staged file in place (a committed change's, found at a start); throws as Write.
    static void InstallFile(const std::string& catalogueFile);

private:
    std::string catalogue_; // as given, for messages
    std::string target_;
    std::string staged_;
    std::string checksum_;
    bool written_ = false;
    bool committed_ = false;
    bool installed_ = false;
};

} // namespace quorvel
