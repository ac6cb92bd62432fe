#pragma once
// Controls the driver builds itself with the default GUI font: what the system
// gives before the program adjusts anything, and how such a control looks.
#include <windows.h>

#include "png_writer.h"

struct ReferenceMeasures {
    int listBoxItemHeight;      // LB_GETITEMHEIGHT of a plain list box
    int comboItemHeight;        // CB_GETITEMHEIGHT of a drop-down list's entries
    int comboFieldItemHeight;   // CB_GETITEMHEIGHT of its selection field
    int comboFieldHeight;       // outer height of a drop-down list created 160 tall
    int comboDroppedHeight;     // CB_GETDROPPEDCONTROLRECT height of that list
};

ReferenceMeasures MeasureReferenceControls();

// The pixels of a control of this class, style, size and text, drawn with the
// default GUI font on a window of the usual button-face background, shown
// at the top-left corner of the screen. The picture is as large as the control.
RgbImage RenderReferenceControl(const wchar_t* className, DWORD style, DWORD exStyle, int width, int height,
                                const wchar_t* text);
