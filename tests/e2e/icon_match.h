#pragma once
// Finding a program's own small icon in a picture of its title bar.
#include <string>

#include "png_writer.h"

struct IconPicture {
    RgbImage pixels;
    std::vector<bool> opaque;  // per pixel: drawn the same on any background
    bool loaded = false;
};

// The first icon group of the program file, loaded at the small-icon size the
// title bar uses, as DrawIconEx draws it.
IconPicture LoadProgramSmallIcon(const std::wstring& programPath);

// True when the icon's opaque pixels appear unchanged somewhere inside the
// given area of the picture.
bool ContainsIcon(const RgbImage& picture, const IconPicture& icon, int areaWidth, int areaHeight);
