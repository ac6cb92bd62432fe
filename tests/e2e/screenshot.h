#pragma once
// Screenshots of a framed top-level window, taken from the screen.
#include <windows.h>

#include "png_writer.h"
#include "window_probe.h"

// The pixels of window's outer rectangle as the screen shows them, taken once
// two captures in a row agree (the window has finished painting).
RgbImage CaptureWindow(HWND window, DWORD timeoutMs = 5000);
// The pixels of a screen area, once two captures in a row agree. The driver's
// own windows paint while it waits, because it dispatches its messages.
RgbImage CaptureStableArea(const Geometry& area, DWORD timeoutMs = 5000);
// Part of an image.
RgbImage Crop(const RgbImage& image, int left, int top, int width, int height);
