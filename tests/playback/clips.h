#pragma once

#include <string>

// Makes an H.264 clip of one of ffmpeg's picture sources (its name and options, as for
// "-f lavfi"), yuv420p as channels send; false when ffmpeg could not make it.
bool MakeClip(const std::string& path, const std::string& source, int seconds);
