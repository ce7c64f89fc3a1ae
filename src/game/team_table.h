// Where each of the 86 teams keeps its name and palette in the game image, one row per team
// index (the team list's index: 0..53 national teams, 54..85 clubs). Offsets are 0-based file
// offsets, as a hex editor shows them. Team 4's name lies in two pieces (game_places.h); teams
// 59 and 76 have no palette of their own, so only their flag type can change.
#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

inline constexpr int kTeamCount = 86;
inline constexpr int kFirstClub = 54;
inline constexpr std::int64_t kNoName = -1;
inline constexpr std::int64_t kNoPalette = -1;

struct Team {
    const char* label;           // the team list's text; never used to look anything up
    std::int64_t nameOffset;     // 2-byte character codes, with single-byte blanks among them
    int nameLength;              // bytes
    std::int64_t paletteOffset;  // 30 bytes: fifteen 16-bit colour words
};

// clang-format off
inline constexpr std::array<Team, kTeamCount> kTeams{{
    // label              name off  len  palette off     index
    {"Ireland",          2003980, 14,   12549518},  //  0
    {"Scotland",         2003964, 14,   12549582},  //  1
    {"Wales",            2003952, 10,   12549614},  //  2
    {"England",          2003936, 14,   12549646},  //  3
    {"Portugal",         kNoName,  0,   12549678},  //  4
    {"Spain",            2003608, 10,   12549710},  //  5
    {"France",           2003596, 10,   12549742},  //  6
    {"Belgium",          2003584, 10,   12549774},  //  7
    {"Netherland",       2003572, 10,   12549806},  //  8
    {"Switzerland",      2003560, 10,   12549838},  //  9
    {"Italy",            2003548, 10,   12549870},  // 10
    {"Czech",            2003536, 10,   12549902},  // 11
    {"Germany",          2003524, 10,   12549934},  // 12
    {"Denmark",          2003512, 10,   12549966},  // 13
    {"Norway",           2003500, 10,   12550302},  // 14
    {"Sweden",           2003484, 12,   12550334},  // 15
    {"Finland",          2003468, 14,   12550366},  // 16
    {"Poland",           2003456, 10,   12550398},  // 17
    {"Slovakia",         2003444, 10,   12550430},  // 18
    {"Austria",          2003428, 14,   12550462},  // 19
    {"Hungary",          2003416, 10,   12550494},  // 20
    {"Slovenia",         2003404, 10,   12550526},  // 21
    {"Croatia",          2003392, 10,   12550558},  // 22
    {"Yugoslavia",       2003376, 14,   12550590},  // 23
    {"Rumania",          2003364, 10,   12550622},  // 24
    {"Bulgaria",         2003352, 10,   12550654},  // 25
    {"Greece",           2003340, 10,   12550686},  // 26
    {"Turkey",           2003328, 10,   12550718},  // 27
    {"Ukrainia",         2003316, 10,   12550750},  // 28
    {"Russia",           2003304, 10,   12550782},  // 29
    {"Morocco",          2003292, 10,   12550814},  // 30
    {"Tunisia",          2003280, 10,   12550846},  // 31
    {"Egypt",            2003268, 10,   12550878},  // 32
    {"Nigeria",          2003252, 14,   12550910},  // 33
    {"Cameroon",         2003240, 10,   12550942},  // 34
    {"S. Africa",        2003228, 10,   12550974},  // 35
    {"Senegal",          2003216, 10,   12545758},  // 36
    {"Usa",              2003204, 10,   12551006},  // 37
    {"Mexico",           2003192, 10,   12551038},  // 38
    {"Costarica",        2003180, 10,   12553198},  // 39
    {"Colombia",         2003168, 10,   12551102},  // 40
    {"Brazil",           2003156, 10,   12551134},  // 41
    {"Peru",             2003144,  8,   12551166},  // 42
    {"Chile",            2003132, 10,   12551198},  // 43
    {"Paraguay",         2003120, 10,   12551230},  // 44
    {"Uruguay",          2003108, 10,   12551262},  // 45
    {"Argentina",        2003092, 14,   12551294},  // 46
    {"Ecuador",          2003080, 10,   12553230},  // 47
    {"Japan",            2003068, 10,   12551326},  // 48
    {"Korea",            2003056, 10,   12551358},  // 49
    {"China",            2003044, 10,   12551390},  // 50
    {"Iran",             2003032, 10,   12551422},  // 51
    {"Arabia S.",        2003016, 14,   12551486},  // 52
    {"Australia",        2003000, 14,   12551518},  // 53
    {"Manchester",       2002768, 10,   12551678},  // 54
    {"Arsenal",          2002756, 10,   12551710},  // 55
    {"Chelsea",          2002744, 10,   12551742},  // 56
    {"Liverpool",        2002728, 14,   12551774},  // 57
    {"Leeds",            2002712, 14,   12551806},  // 58
    {"Newcastle",        2002700, 10, kNoPalette},  // 59
    {"Aston Villa",      2002680, 14,   12553262},  // 60
    {"Barcellona",       2002664, 14,   12551870},  // 61
    {"Real Madrid",      2002652, 10,   12551902},  // 62
    {"Valencia",         2002636, 14,   12551934},  // 63
    {"Deportivo",        2002620, 14,   12551838},  // 64
    {"Monaco",           2002604, 14,   12551966},  // 65
    {"Marsiglia",        2002588, 14,   12551998},  // 66
    {"P.S.G.",           2002572, 14,   12552814},  // 67
    {"Bordeaux",         2002560, 10,   12552222},  // 68
    {"Ajax",             2002544, 14,   12552030},  // 69
    {"Feyenoord",        2002524, 18,   12552686},  // 70
    {"P.S.V.",           2002512, 10,   12552718},  // 71
    {"Inter",            2002500, 10,   12552062},  // 72
    {"Juventus",         2002488, 10,   12552094},  // 73
    {"Milan",            2002472, 14,   12552126},  // 74
    {"Lazio",            2002460, 10,   12552158},  // 75
    {"Parma",            2002448, 10, kNoPalette},  // 76
    {"Fiorentina",       2002436, 10,   12553294},  // 77
    {"Roma",             2002420,  8,   12552254},  // 78
    {"Borussia Dort.",   2002400, 18,   12552286},  // 79
    {"Bayer Monaco",     2002388, 10,   12552318},  // 80
    {"Leverkusen",       2002376, 10,   12552654},  // 81
    {"Olympiakos",       2002360, 14,   12553326},  // 82
    {"Galatasaray",      2002340, 18,   12553358},  // 83
    {"D. Kiev",          2002328, 10,   12553390},  // 84
    {"Boca Junior",      2002316, 11,   12553422},  // 85
}};
// clang-format on

constexpr bool isTeam(int team) {
    return team >= 0 && team < kTeamCount;
}

constexpr bool hasPalette(int team) {
    return kTeams[static_cast<std::size_t>(team)].paletteOffset != kNoPalette;
}

}  // namespace tavrel
