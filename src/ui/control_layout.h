// Where frmFlag's controls stand, in twips as the window was designed (1/1440 inch; 15 twips
// make one pixel at 96 dpi). Positions are relative to the client area or to the frame holding
// the control. Qt scales logical pixels on high-dpi screens, so the layout stays in proportion.
#pragma once

#include <array>
#include <string_view>

#include <QRect>
#include <QSize>

namespace tavrel {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel: 2200 twips (cmdReti's left) is no whole number of pixels.
constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

struct ControlPlace {
    std::string_view name;  // the control's object name
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kClientWidthTwips = 6930;
inline constexpr int kClientHeightTwips = 5385;

// clang-format off
inline constexpr std::array<ControlPlace, 22> kControlPlaces{{
    // name         left   top  width height
    {"Label1",       780,  360, 1815,  255},
    {"cboSeqSQ",     300,  720, 2775,  315},
    {"txtSqHEX",     720, 1320, 1935,  285},
    {"Frame1",      4320,  840, 1695, 1095},
    {"imgFlag",      480,  240,  735,  495},  // inside Frame1
    {"Label3",      4440,  480,  855,  255},
    {"Label34",     5400,  480,  255,  165},
    {"lblPos",      5760,  480,  135,  195},
    {"cmdBack",     3960, 2160, 1095,  375},
    {"cmdNext",     5160, 2160, 1095,  375},
    {"cmdSalva",    3720, 2760, 1335,  375},
    {"cmdNew",      5160, 2760, 1335,  375},
    {"cmdImp",      3720, 3240, 1335,  375},
    {"cmdExport",   5160, 3240, 1335,  375},
    {"cmdOpen",     4200, 3720, 1815,  375},
    {"Label4",       240, 1920, 3015,  255},
    {"listAbbin",    240, 2280, 3015, 2985},
    {"fraReti",     3480, 4200, 3255,  735},
    {"optNorm",      120,  360,  975,  195},  // inside fraReti
    {"optRombi",    1200,  360,  855,  195},  // inside fraReti
    {"cmdReti",     2200,  330,  855,  255},  // inside fraReti
    {"Label5",      5040, 5040, 1695,  255},
}};
// clang-format on

constexpr QRect pixelRect(const ControlPlace& place) {
    return QRect(twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
                 twipsToPixels(place.height));
}

constexpr QSize kClientSize{twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)};

}  // namespace tavrel
