#pragma once

#include "skin/data/skindata.h"

#include <QColor>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

// A loaded skin made for a test: its numbered pictures given as images, its definition as lines.
std::unique_ptr<quorvel::SkinData> MakeSkin(const std::vector<QImage>& pictures,
                                            const std::vector<std::string>& definition);
// The program's own skin, as the window loads it.
std::unique_ptr<quorvel::SkinData> OwnSkin();
// A numbered picture of the skin as pixels.
QImage Picture(const quorvel::SkinData& data, int index);
// An image of one colour.
QImage Solid(int width, int height, const QColor& colour);
// The pixel as a colour, to compare and print.
QColor Pixel(const QImage& image, int x, int y);
// Every pixel of the area is of that colour.
bool AllOf(const QImage& image, const QRect& area, const QColor& colour);
