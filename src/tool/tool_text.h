// How tavrel-tool words what happened: file failures in one Italian line, exit statuses, and
// the small pieces of JSON its --json output is made of.
#pragma once

#include <cstdint>
#include <functional>
#include <iterator>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "game/flag.h"
#include "game/flag_record.h"
#include "sector/sector_checks.h"

namespace tavrel {
class FileError;
struct GameCheck;
}

namespace tavrel::tool {

inline constexpr int kSuccess = 0;
inline constexpr int kFileFailure = 1;  // the image or a file could not be read or written
inline constexpr int kRefused = 2;      // a usage error or refused input: nothing was written

// "0A": a byte as two upper-case hex digits.
std::string hexByte(std::uint8_t byte);

// "3, 5, 8": numbers joined by `separator`.
template <typename Number>
std::string joined(const std::vector<Number>& numbers, const char* separator) {
    std::string text;
    for (const Number number : numbers)
        text += (text.empty() ? "" : separator) + std::to_string(number);
    return text;
}

// Every kind of sector with its words and its JSON key, in the order tallies list them.
struct SectorKindName {
    SectorKind kind;
    const char* name;
    const char* key;
};
inline constexpr SectorKindName kSectorKindNames[] = {
    {SectorKind::Mode1, "Mode 1", "mode1"},
    {SectorKind::Mode2Form1, "Mode 2 Form 1", "mode2_form1"},
    {SectorKind::Mode2Form2, "Mode 2 Form 2", "mode2_form2"},
    {SectorKind::NoSync, "senza sync", "no_sync"},
    {SectorKind::OtherMode, "altro modo", "other_mode"},
};
static_assert(std::size(kSectorKindNames) == kSectorKindCount);

// One line for stderr, and the exit status the failure gives.
std::string describe(const FileError& error);
int exitStatus(const FileError& error);

// Why an image fails the game check, each reason a few words ("3 nomi di squadra su 86 (ne
// servono 80)"); empty when it passes. joinedReasons: the same in one line, ", " between.
std::vector<std::string> gameCheckReasons(const GameCheck& check);
std::string joinedReasons(const GameCheck& check);

// Why a text is no flag record: "colonna 5: atteso uno spazio".
std::string describe(const RecordError& error);

// "BDF7 18E3 ...": the fifteen colours as their two stored bytes each, low byte first.
std::string colourText(const Flag& flag);

// `count` items, one line each, or the elements of one JSON array: `item(i)` prints the i-th
// (in JSON, one object without the separators that the list adds).
void printList(std::ostream& out, bool json, std::size_t count,
               const std::function<void(std::size_t)>& item);

// A JSON string literal.
std::string json(std::string_view text);
// The fifteen colours as a JSON array of strings, as colourText writes them.
std::string jsonColours(const Flag& flag);

}  // namespace tavrel::tool
