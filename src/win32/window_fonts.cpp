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
    // The message font stands for the window's 8.25 points; the other faces keep its
    // proportion (6.75 points: 9 to 11).
    const FaceStyle base = faceStyle(Face::Normal);
    for (const Face face : {Face::Normal, Face::Bold, Face::BoldItalic, Face::Small, Face::Fixed}) {
        const FaceStyle style = faceStyle(face);
        LOGFONTW font = normal;
        font.lfHeight = ::MulDiv(normal.lfHeight, static_cast<int>(style.points * 100),
                                 static_cast<int>(base.points * 100));
        if (style.bold)
            font.lfWeight = FW_BOLD;
        font.lfItalic = style.italic ? TRUE : FALSE;
        // Consolas where Windows has it; the font mapper's fixed-pitch choice elsewhere.
        if (style.fixedPitch) {
            font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
            ::lstrcpynW(font.lfFaceName, L"Consolas", LF_FACESIZE);
        }
        fonts_[static_cast<std::size_t>(face)] = ::CreateFontIndirectW(&font);
    }
}

WindowFonts::~WindowFonts() {
    for (HFONT font : fonts_) {
        if (font != nullptr)
            ::DeleteObject(font);
    }
}

}  // namespace tavrel
