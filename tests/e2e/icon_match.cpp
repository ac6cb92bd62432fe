// Loads the program's icon from its resources and looks for it in a picture.
#include "icon_match.h"

#include <windows.h>

#include <cstring>

namespace {

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* first = reinterpret_cast<std::wstring*>(param);
    *first = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
    return FALSE;
}

RgbImage DrawOn(HICON icon, int width, int height, COLORREF background) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 3);
    const auto* source = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        image.pixels[3 * i] = source[4 * i + 2];
        image.pixels[3 * i + 1] = source[4 * i + 1];
        image.pixels[3 * i + 2] = source[4 * i];
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

}  // namespace

IconPicture LoadProgramSmallIcon(const std::wstring& programPath) {
    IconPicture result;
    HMODULE module = LoadLibraryExW(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return result;
    std::wstring name;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, TakeFirstName,
                       reinterpret_cast<LONG_PTR>(&name));
    const int width = GetSystemMetrics(SM_CXSMICON), height = GetSystemMetrics(SM_CYSMICON);
    HICON icon = nullptr;
    if (!name.empty()) {
        const wchar_t* id = name[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(name.substr(1))) : name.c_str();
        icon = static_cast<HICON>(LoadImageW(module, id, IMAGE_ICON, width, height, 0));
    }
    if (icon) {
        const RgbImage onBlack = DrawOn(icon, width, height, RGB(0, 0, 0));
        const RgbImage onWhite = DrawOn(icon, width, height, RGB(255, 255, 255));
        result.pixels = onBlack;
        result.opaque.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < result.opaque.size(); ++i) {
            result.opaque[i] = std::memcmp(&onBlack.pixels[3 * i], &onWhite.pixels[3 * i], 3) == 0;
        }
        result.loaded = true;
        DestroyIcon(icon);
    }
    FreeLibrary(module);
    return result;
}

bool ContainsIcon(const RgbImage& picture, const IconPicture& icon, int areaWidth, int areaHeight) {
    const int w = icon.pixels.width, h = icon.pixels.height;
    for (int top = 0; top + h <= areaHeight && top + h <= picture.height; ++top) {
        for (int left = 0; left + w <= areaWidth && left + w <= picture.width; ++left) {
            bool match = true;
            for (int y = 0; y < h && match; ++y) {
                for (int x = 0; x < w && match; ++x) {
                    const size_t i = static_cast<size_t>(y) * w + x;
                    if (!icon.opaque[i]) continue;
                    const uint8_t* seen = &picture.pixels[(static_cast<size_t>(top + y) * picture.width + left + x) * 3];
                    match = std::memcmp(seen, &icon.pixels.pixels[3 * i], 3) == 0;
                }
            }
            if (match) return true;
        }
    }
    return false;
}
