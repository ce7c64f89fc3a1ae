// Numbers the resource script and the code share. The design previews need none here: each is a
// BITMAP resource numbered by its catalog id.
#pragma once

#define TAVREL_ICON_ID 1

#ifndef RC_INVOKED
namespace tavrel {

inline constexpr int kIconId = TAVREL_ICON_ID;
// Command identifiers of a window's controls, in the order of its table's rows.
inline constexpr int kFirstControlId = 1000;

}  // namespace tavrel
#endif
