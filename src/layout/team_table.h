// Where each of the 86 teams keeps its name, palette and flag-type byte in the game image.
// One row per team index (the team list's index: 0..53 national teams, 54..85 clubs).
// Offsets are 0-based file offsets, as a hex editor shows them; the lookups deliver 1-based
// positions. Index 4 has its name in two pieces (game_layout.h); 59 and 76 have no palette.
#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

inline constexpr int kTeamCount = 86;
inline constexpr int kFirstClubIndex = 54;
inline constexpr std::int32_t kNoName = -1;
inline constexpr std::int32_t kNoPalette = 0;

struct TeamEntry {
    int index;
    const char* label;           // the team list's text; never used to look anything up
    std::int32_t nameOffset;     // kNoName for index 4
    std::int16_t nameLength;     // bytes of 2-byte character codes (and single-byte blanks)
    std::int32_t paletteOffset;  // 30 bytes; kNoPalette for 59 and 76
};

// clang-format off
inline constexpr std::array<TeamEntry, kTeamCount> kTeamTable{{
    // idx  label             name off  len  palette off
    { 0, "Ireland",         2003980, 14,  12549518},
    { 1, "Scotland",        2003964, 14,  12549582},
    { 2, "Wales",           2003952, 10,  12549614},
    { 3, "England",         2003936, 14,  12549646},
    { 4, "Portugal",        kNoName,  0,  12549678},
    { 5, "Spain",           2003608, 10,  12549710},
    { 6, "France",          2003596, 10,  12549742},
    { 7, "Belgium",         2003584, 10,  12549774},
    { 8, "Netherland",      2003572, 10,  12549806},
    { 9, "Switzerland",     2003560, 10,  12549838},
    {10, "Italy",           2003548, 10,  12549870},
    {11, "Czech",           2003536, 10,  12549902},
    {12, "Germany",         2003524, 10,  12549934},
    {13, "Denmark",         2003512, 10,  12549966},
    {14, "Norway",          2003500, 10,  12550302},
    {15, "Sweden",          2003484, 12,  12550334},
    {16, "Finland",         2003468, 14,  12550366},
    {17, "Poland",          2003456, 10,  12550398},
    {18, "Slovakia",        2003444, 10,  12550430},
    {19, "Austria",         2003428, 14,  12550462},
    {20, "Hungary",         2003416, 10,  12550494},
    {21, "Slovenia",        2003404, 10,  12550526},
    {22, "Croatia",         2003392, 10,  12550558},
    {23, "Yugoslavia",      2003376, 14,  12550590},
    {24, "Rumania",         2003364, 10,  12550622},
    {25, "Bulgaria",        2003352, 10,  12550654},
    {26, "Greece",          2003340, 10,  12550686},
    {27, "Turkey",          2003328, 10,  12550718},
    {28, "Ukrainia",        2003316, 10,  12550750},
    {29, "Russia",          2003304, 10,  12550782},
    {30, "Morocco",         2003292, 10,  12550814},
    {31, "Tunisia",         2003280, 10,  12550846},
    {32, "Egypt",           2003268, 10,  12550878},
    {33, "Nigeria",         2003252, 14,  12550910},
    {34, "Cameroon",        2003240, 10,  12550942},
    {35, "S. Africa",       2003228, 10,  12550974},
    {36, "Senegal",         2003216, 10,  12545758},
    {37, "Usa",             2003204, 10,  12551006},
    {38, "Mexico",          2003192, 10,  12551038},
    {39, "Costarica",       2003180, 10,  12553198},
    {40, "Colombia",        2003168, 10,  12551102},
    {41, "Brazil",          2003156, 10,  12551134},
    {42, "Peru",            2003144,  8,  12551166},
    {43, "Chile",           2003132, 10,  12551198},
    {44, "Paraguay",        2003120, 10,  12551230},
    {45, "Uruguay",         2003108, 10,  12551262},
    {46, "Argentina",       2003092, 14,  12551294},
    {47, "Ecuador",         2003080, 10,  12553230},
    {48, "Japan",           2003068, 10,  12551326},
    {49, "Korea",           2003056, 10,  12551358},
    {50, "China",           2003044, 10,  12551390},
    {51, "Iran",            2003032, 10,  12551422},
    {52, "Arabia S.",       2003016, 14,  12551486},
    {53, "Australia",       2003000, 14,  12551518},
    {54, "Manchester",      2002768, 10,  12551678},
    {55, "Arsenal",         2002756, 10,  12551710},
    {56, "Chelsea",         2002744, 10,  12551742},
    {57, "Liverpool",       2002728, 14,  12551774},
    {58, "Leeds",           2002712, 14,  12551806},
    {59, "Newcastle",       2002700, 10,         0},
    {60, "Aston Villa",     2002680, 14,  12553262},
    {61, "Barcellona",      2002664, 14,  12551870},
    {62, "Real Madrid",     2002652, 10,  12551902},
    {63, "Valencia",        2002636, 14,  12551934},
    {64, "Deportivo",       2002620, 14,  12551838},
    {65, "Monaco",          2002604, 14,  12551966},
    {66, "Marsiglia",       2002588, 14,  12551998},
    {67, "P.S.G.",          2002572, 14,  12552814},
    {68, "Bordeaux",        2002560, 10,  12552222},
    {69, "Ajax",            2002544, 14,  12552030},
    {70, "Feyenoord",       2002524, 18,  12552686},
    {71, "P.S.V.",          2002512, 10,  12552718},
    {72, "Inter",           2002500, 10,  12552062},
    {73, "Juventus",        2002488, 10,  12552094},
    {74, "Milan",           2002472, 14,  12552126},
    {75, "Lazio",           2002460, 10,  12552158},
    {76, "Parma",           2002448, 10,         0},
    {77, "Fiorentina",      2002436, 10,  12553294},
    {78, "Roma",            2002420,  8,  12552254},
    {79, "Borussia Dort.",  2002400, 18,  12552286},
    {80, "Bayer Monaco",    2002388, 10,  12552318},
    {81, "Leverkusen",      2002376, 10,  12552654},
    {82, "Olympiakos",      2002360, 14,  12553326},
    {83, "Galatasaray",     2002340, 18,  12553358},
    {84, "D. Kiev",         2002328, 10,  12553390},
    {85, "Boca Junior",     2002316, 11,  12553422},
}};
// clang-format on

// Name position (1-based) and length of `ID`. For an index without a name entry (4, a
// negative index, 86 or more) both outputs are left exactly as the caller passed them.
void Off_Name_HEX(int ID, std::int32_t& OffSet, std::int16_t& Lngh);

// Palette position (1-based) of `ID`, or 0 for 59 and 76. Untouched for an unknown index.
void OffColor(int ID, std::int32_t& OFF_HEX_COL);

// The team list's label of a team index 0..85.
const char* teamLabel(int index);

}  // namespace tavrel
