// Where MainWindow's controls stand, in twips as the window was designed (1/1440 inch; 15 twips
// make one pixel at 96 dpi). Positions are relative to the client area or to the frame holding
// the control. Qt scales logical pixels on high-dpi screens, so the layout stays in proportion.
#pragma once

#include <array>
#include <string_view>

#include <QRect>
#include <QSize>

namespace tavrel {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel: 2200 twips (the nets' button's left) is no whole number of
// pixels.
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
    // name               left   top  width height
    {"teamHeading",         780,  360, 1815,  255},
    {"teamList",            300,  720, 2775,  315},
    {"nameBox",             720, 1320, 1935,  285},
    {"previewFrame",       4320,  840, 1695, 1095},
    {"preview",             480,  240,  735,  495},  // inside previewFrame
    {"previewHeading",     4440,  480,  855,  255},
    {"numberSign",         5400,  480,  255,  165},
    {"positionLabel",      5760,  480,  135,  195},
    {"backButton",         3960, 2160, 1095,  375},
    {"nextButton",         5160, 2160, 1095,  375},
    {"saveButton",         3720, 2760, 1335,  375},
    {"clearButton",        5160, 2760, 1335,  375},
    {"importButton",       3720, 3240, 1335,  375},
    {"exportButton",       5160, 3240, 1335,  375},
    {"openButton",         4200, 3720, 1815,  375},
    {"pairingHeading",      240, 1920, 3015,  255},
    {"pairingList",         240, 2280, 3015, 2985},
    {"netsFrame",          3480, 4200, 3255,  735},
    {"plainNetsOption",     120,  360,  975,  195},  // inside netsFrame
    {"diamondNetsOption",  1200,  360,  855,  195},  // inside netsFrame
    {"applyNetsButton",    2200,  330,  855,  255},  // inside netsFrame
    {"creditLabel",        5040, 5040, 1695,  255},
}};
// clang-format on

constexpr QRect pixelRect(const ControlPlace& place) {
    return QRect(twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
                 twipsToPixels(place.height));
}

constexpr QSize kClientSize{twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)};

}  // namespace tavrel
