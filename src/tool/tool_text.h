// How tavrel-tool words what happened: file failures in one Italian line, exit statuses, and
// the small pieces of JSON its --json output is made of.
#pragma once

#include <string>
#include <string_view>

#include "game/flag.h"
#include "game/flag_record.h"

namespace tavrel {
class FileError;
}

namespace tavrel::tool {

inline constexpr int kSuccess = 0;
inline constexpr int kFileFailure = 1;  // the image or a file could not be read or written
inline constexpr int kRefused = 2;      // a usage error or refused input: nothing was written

// One line for stderr, and the exit status the failure gives.
std::string describe(const FileError& error);
int exitStatus(const FileError& error);

// Why a text is no flag record: "colonna 5: atteso uno spazio".
std::string describe(const RecordError& error);

// "BDF7 18E3 ...": the fifteen colours as their two stored bytes each, low byte first.
std::string colourText(const Flag& flag);

// A JSON string literal.
std::string json(std::string_view text);
// The fifteen colours as a JSON array of strings, as colourText writes them.
std::string jsonColours(const Flag& flag);

}  // namespace tavrel::tool
