// Packs a skin folder into the program: builds the stored skin's zlib stream from "skin.ini"
// and its bitmaps, and writes it as a C++ source that defines the bytes.
//   quorvel-skinpack <skin.ini> <output.cpp>
#include "skin/store/compressedstoredskin.h"

#include <cstdio>
#include <exception>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <skin.ini> <output.cpp>\n", argv[0]);
        return 2;
    }
    try {
        quorvel::CompressedStoredSkin skin;
        skin.ImportSkinFolder(argv[1]);
        if (skin.IsEmpty()) {
            std::fprintf(stderr, "%s: not a complete skin definition\n", argv[1]);
            return 1;
        }
        const std::string& bytes = skin.CompressedData();
        std::ofstream out(argv[2], std::ios::trunc);
        out << "// Generated from the skin folder by quorvel-skinpack; do not edit.\n"
               "#include \"app/storedskin.h\"\n\nnamespace {\nconst unsigned char kBytes[] = {";
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out << (i % 24 == 0 ? "\n" : "") << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
        out << "\n};\n}\n\nstd::string quorvel::StoredSkinData()\n{\n"
               "    return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);\n}\n";
        if (!out)
            return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
