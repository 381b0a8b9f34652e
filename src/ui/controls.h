// Small pieces the windows share: the container class of panels and pages,
// child-control creation, image strips and text sizes.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <string_view>

namespace ombrisk {

// A borderless container. It passes its children's commands, notifications
// and dialog-navigation requests to its parent, so the window above hears
// every control wherever it sits.
void RegisterPanelClass(HINSTANCE instance);
// Registers a class of child windows with the dialog background.
void RegisterChildClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// A visible child window with the font; 0 as id for none.
HWND CreateChild(HWND parent, const wchar_t* className, std::u16string_view caption, DWORD style, DWORD exStyle, int id,
                 HFONT font);

void MoveTo(HWND window, int left, int top, int width, int height);

// The size of the images drawn for a DPI: 16, 20, 24 or 32 pixels, the
// largest not above 16 pixels at 96 DPI scaled.
int ImageSizeFor(int dpi);

// An image list of the images of a resource strip (IDB_ACTIONS ...) drawn
// at the size, side by side, alpha included; from one image (index) only,
// as a button's image, when given.
HIMAGELIST LoadImageStrip(int resource, int size, int index = -1);

// Group boxes and etched lines draw only their lines and text; under
// containers that clip their children nobody else paints the rest, so this
// subclass fills their background.
void FillOwnBackground(HWND window);

// The height of the font's text line, which a one-line label takes.
int TextHeight(HWND window, HFONT font);
// The width the text takes in the font, without its "&" marks.
int TextWidth(HWND window, HFONT font, std::u16string_view text);

std::u16string ControlText(HWND window);

// Puts the caret at the start of a line of a multi-line edit (from 0) and
// scrolls it into view.
void SelectLine(HWND edit, int line);

}  // namespace ombrisk
