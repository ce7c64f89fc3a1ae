// The message font is what the system gives its own dialogs and message boxes, already sized
// for the DPI asked; the window's other faces are made from it.
#include "window_fonts.h"

namespace tavrel {
namespace {

LOGFONTW messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return metrics.lfMessageFont;
    LOGFONTW fallback{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
    fallback.lfHeight = ::MulDiv(fallback.lfHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return fallback;
}

// The message font may be named by a substitute ("MS Shell Dlg") that keeps its regular face
// only; the faces made from it name the font the system actually chose.
void nameChosenFace(LOGFONTW& font) {
    const HFONT probe = ::CreateFontIndirectW(&font);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ before = ::SelectObject(dc, probe);
    ::GetTextFaceW(dc, LF_FACESIZE, font.lfFaceName);
    ::SelectObject(dc, before);
    ::DeleteDC(dc);
    ::DeleteObject(probe);
}

}  // namespace

WindowFonts::WindowFonts(UINT dpi) {
    LOGFONTW normal = messageFont(dpi);
    nameChosenFace(normal);
    LOGFONTW bold = normal;
    bold.lfWeight = FW_BOLD;
    LOGFONTW boldItalic = bold;
    boldItalic.lfItalic = TRUE;
    // The nets' frame and its controls are set 6.75 points where the rest has 8.25: 9 to 11.
    LOGFONTW small = normal;
    small.lfHeight = ::MulDiv(normal.lfHeight, 9, 11);
    fonts_ = {::CreateFontIndirectW(&normal), ::CreateFontIndirectW(&bold),
              ::CreateFontIndirectW(&boldItalic), ::CreateFontIndirectW(&small)};
}

WindowFonts::~WindowFonts() {
    for (HFONT font : fonts_) {
        if (font != nullptr)
            ::DeleteObject(font);
    }
}

}  // namespace tavrel
