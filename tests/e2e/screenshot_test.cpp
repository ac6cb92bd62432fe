// A PNG of the framed main window at start, for people to look at, saved as
// main-window.png in VM_SCREENSHOT_DIR (default: the driver's folder).
#include <windows.h>

#include <gtest/gtest.h>

#include "icon_match.h"
#include "keyboard.h"
#include "process.h"
#include "program_at_start.h"
#include "scratch_files.h"
#include "screenshot.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

COLORREF PixelAt(const RgbImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 3;
    return RGB(p[0], p[1], p[2]);
}

// Pixels inside a control's rectangle that differ from the window's background.
int InkInside(const RgbImage& image, HWND window, HWND control, COLORREF background) {
    const Geometry frame = ScreenGeometry(window);
    const Geometry place = ScreenGeometry(control);
    int ink = 0;
    for (int y = place.top - frame.top; y < place.top - frame.top + place.height; ++y) {
        for (int x = place.left - frame.left; x < place.left - frame.left + place.width; ++x) {
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && PixelAt(image, x, y) != background) ++ink;
        }
    }
    return ink;
}

TEST(MainWindowScreenshot, SavesTheFramedWindowAsPng) {
    ProgramAtStart::Start();
    HWND window = ProgramAtStart::Window();
    ASSERT_NE(window, nullptr) << ProgramAtStart::StartError();
    ASSERT_TRUE(BringToFront(window));

    const RgbImage image = CaptureWindow(window);
    const Geometry frame = ScreenGeometry(window);
    ASSERT_EQ(image.width, frame.width);
    ASSERT_EQ(image.height, frame.height);

    // The capture shows the window: its client background where no control
    // sits, and drawn text inside the labels.
    POINT corner{2, 2};
    ClientToScreen(window, &corner);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(PixelAt(image, corner.x - frame.left, corner.y - frame.top), background);
    EXPECT_GT(InkInside(image, window, ProgramAtStart::Control(IDC_ACCOUNT_LABEL), background), 20);
    EXPECT_GT(InkInside(image, window, ProgramAtStart::Control(IDC_DESTINATION), background), 100);

    const std::wstring path = ScreenshotFolderPath() + L"\\main-window.png";
    ASSERT_TRUE(WritePng(image, path)) << "cannot write " << Narrow(path);
    std::printf("screenshot: %s\n", Narrow(path).c_str());
    RecordProperty("screenshot", Narrow(path));
    ProgramAtStart::Stop();
}

// Under Wine neither WM_GETICON nor the class icon of another process can be
// read, so the icon is looked for where it shows: left in the title bar.
TEST(MainWindowScreenshot, TitleBarShowsTheProgramsIcon) {
    const IconPicture icon = LoadProgramSmallIcon(ProgramPath());
    ASSERT_TRUE(icon.loaded) << "the program file holds no icon";
    int opaque = 0;
    for (bool pixel : icon.opaque) opaque += pixel ? 1 : 0;
    ASSERT_GT(opaque, static_cast<int>(icon.opaque.size()) / 4) << "the icon is almost transparent";

    ProgramAtStart::Start();
    HWND window = ProgramAtStart::Window();
    ASSERT_NE(window, nullptr) << ProgramAtStart::StartError();
    ASSERT_TRUE(BringToFront(window));
    const RgbImage image = CaptureWindow(window);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const Geometry frame = ScreenGeometry(window);
    // The band above the client area, left quarter.
    EXPECT_TRUE(ContainsIcon(image, icon, frame.width / 4, client.y - frame.top));
    ProgramAtStart::Stop();
}

}  // namespace
