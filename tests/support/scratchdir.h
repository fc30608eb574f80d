#pragma once

#include <string>

// A private directory for one test, removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    static std::string Slurp(const std::string& file);
    static void Spit(const std::string& file, const std::string& bytes);

private:
    std::string path_;
};
