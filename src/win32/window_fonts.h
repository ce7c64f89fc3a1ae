// The window's fonts at one DPI: the system's message font, and the bold, bold italic and smaller
// faces some controls use. They live as long as the controls showing them.
#pragma once

#include <windows.h>

#include <array>

namespace tavrel {

enum class FontFace { Normal, Bold, BoldItalic, Small };

class WindowFonts {
public:
    explicit WindowFonts(UINT dpi);
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    HFONT font(FontFace face) const { return fonts_[static_cast<std::size_t>(face)]; }

private:
    std::array<HFONT, 4> fonts_{};
};

}  // namespace tavrel
