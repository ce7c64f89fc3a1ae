// A window's fonts at one DPI: the system's message font for Face::Normal, and the faces made
// from it that some controls use (window_table.h). They live as long as the controls showing
// them.
#pragma once

#include <windows.h>

#include <array>

#include "editor/window_table.h"

namespace tavrel {

class WindowFonts {
public:
    explicit WindowFonts(UINT dpi);
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    HFONT font(Face face) const { return fonts_[static_cast<std::size_t>(face)]; }

private:
    std::array<HFONT, 5> fonts_{};
};

}  // namespace tavrel
