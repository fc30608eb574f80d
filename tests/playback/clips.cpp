#include "clips.h"

#include <cstdlib>

bool MakeClip(const std::string& path, const std::string& source, int seconds)
{
    const std::string command = "ffmpeg -nostdin -loglevel error -y -f lavfi -i '" + source + "' -t " +
                                std::to_string(seconds) + " -pix_fmt yuv420p -c:v libx264 -preset ultrafast '" + path +
                                "'";
    return std::system(command.c_str()) == 0;
}
