#pragma once

#include "skin/store/skinbitmap.h"

#include <string>

// Small BMP file images for tests, made in memory.
std::string MakeBmp(int width, int height, int bitCount);
quorvel::SkinBitmap MakeBitmap(int width, int height, int bitCount);
