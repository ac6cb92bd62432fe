// Screen capture of one window's rectangle through a 24-bit DIB section.
#include "screenshot.h"

#include <cstring>

#include "window_probe.h"

namespace {

RgbImage CaptureScreenRect(const Geometry& area) {
    RgbImage image;
    image.width = area.width;
    image.height = area.height;
    if (area.width <= 0 || area.height <= 0) return image;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = area.width;
    info.bmiHeader.biHeight = -area.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.width, area.height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();

    const size_t stride = (static_cast<size_t>(area.width) * 3 + 3) & ~size_t{3};
    image.pixels.resize(static_cast<size_t>(area.width) * area.height * 3);
    for (int y = 0; y < area.height; ++y) {
        const auto* source = static_cast<const uint8_t*>(bits) + stride * static_cast<size_t>(y);
        uint8_t* target = image.pixels.data() + static_cast<size_t>(y) * area.width * 3;
        for (int x = 0; x < area.width; ++x) {  // the DIB holds B, G, R
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

void DispatchOwnMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

RgbImage CaptureStableArea(const Geometry& area, DWORD timeoutMs) {
    DispatchOwnMessages();
    Sleep(200);
    RgbImage previous = CaptureScreenRect(area);
    RgbImage current = previous;
    WaitUntil([&] {
        DispatchOwnMessages();
        current = CaptureScreenRect(area);
        const bool stable = current.pixels == previous.pixels;
        previous = current;
        return stable;
    }, timeoutMs, 200);
    return current;
}

RgbImage CaptureWindow(HWND window, DWORD timeoutMs) {
    // Repainting happens in the program's own time: wait for two equal captures.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    return CaptureStableArea(ScreenGeometry(window), timeoutMs);
}

RgbImage Crop(const RgbImage& image, int left, int top, int width, int height) {
    RgbImage part;
    part.width = width;
    part.height = height;
    part.pixels.assign(static_cast<size_t>(width) * height * 3, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = left + x, sy = top + y;
            if (sx < 0 || sy < 0 || sx >= image.width || sy >= image.height) continue;
            const uint8_t* from = image.pixels.data() + (static_cast<size_t>(sy) * image.width + sx) * 3;
            std::memcpy(part.pixels.data() + (static_cast<size_t>(y) * width + x) * 3, from, 3);
        }
    }
    return part;
}
