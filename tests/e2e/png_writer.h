#pragma once
// A minimal PNG encoder: 8-bit RGB, no filtering, deflate in stored blocks.
// Enough for screenshots people look at; no compression library needed.
#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, 3 bytes per pixel: R, G, B
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

std::vector<uint8_t> EncodePng(const RgbImage& image);
// Writes the PNG to path; false when the file cannot be written.
bool WritePng(const RgbImage& image, const std::wstring& path);
