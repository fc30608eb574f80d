#pragma once

#include <string>

namespace quorvel {

// Where the program reads its pages and keeps the user's data. Every folder ends in "/".
//
// Portable: the program's folder can be written and holds its pages: pages, catalogue and
// defaults all lie beside the program, as they always have.
// Installed: the program lies in <prefix>/bin with its pages and defaults in
// <prefix>/share/quorvel, or its folder cannot be written: the pages are read where they were
// installed (so an upgrade's newer pages are shown), and the catalogue and the rest of the
// user's data live in $XDG_DATA_HOME/quorvel (~/.local/share/quorvel), one folder per user,
// seeded from the installed defaults. Nothing is then written beside the program.
struct DataFolders {
    static constexpr const char* PagesFolder = "share/quorvel"; // below the installation prefix
    static constexpr const char* StartPage = "TVAPI.dat";       // the page that marks a pages folder

    std::string programDir; // the executable's folder
    std::string pagesDir;   // the pages and the defaults the data folder is seeded from
    std::string dataDir;    // the catalogue and the user's other files

    // Every folder is the program's own.
    static DataFolders Beside(const std::string& programDir);

    // The decision itself. userDataHome: the user's data home ($XDG_DATA_HOME), ending in "/";
    // programDirWritable: whether this user may write the program's folder.
    static DataFolders Choose(const std::string& programDir, const std::string& userDataHome, bool programDirWritable);

    // The folders for the program in programDir, for the user running it. Throws Exception
    // when the data belongs in the user's data home and the user has none.
    static DataFolders For(const std::string& programDir);

    bool Installed() const { return dataDir != programDir; }

    // The user's file of that name in the data folder. When the folders are installed and the
    // user has no such file yet, the data folder is made (private to the user) and given a copy
    // of the installed default, if there is one. A file of the user's is never replaced.
    // Throws Exception when the folder cannot be made or the copy cannot be written.
    std::string Seeded(const std::string& fileName) const;
};

// The user's data home, ending in "/": $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share. Empty when the user has no home either.
std::string UserDataHome();

} // namespace quorvel
