// The game image the core and editor tests start from, and what it must look like after a
// flag has been written.
#pragma once

#include <set>

#include "game/flag.h"
#include "image/file_error.h"

namespace tavrel::testing {

// Pattern-filled user data (so a misplaced write shows), every team's name stored as the game
// stores it (its label, padded with full stops), net bytes 00 65.
const Bytes& pristineImage();

// `image` with `flag` written into `team`, as the game's places say.
Bytes withFlag(Bytes image, int team, const Flag& flag);

// A flag whose every byte differs from what the pristine image holds for any team.
Flag unusualFlag();

// 0-based offsets where two images differ.
std::set<std::int64_t> differingOffsets(const Bytes& before, const Bytes& after);

}  // namespace tavrel::testing
