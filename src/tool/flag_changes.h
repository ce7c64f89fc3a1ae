// Colours and a type given on top of a flag, on the command line or in a plan line:
// "K=#RRGGBB" (K 1..15: a colour snapped to 5 bits a channel, the word's bit 15 kept) or
// "K=WORD" (four hex digits: the word exactly, bit 15 included), and a type "XX".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/flag_draft.h"
#include "tool/command_line.h"

namespace tavrel::tool {

struct ColourSetting {
    int k = 0;
    std::optional<Rgb8> chosen;  // a colour to snap, or else
    std::uint16_t word = 0;      // the word as given
};

struct FlagChanges {
    std::vector<ColourSetting> colours;  // each K at most once
    std::optional<std::uint8_t> type;
};

// The changes the texts give; none, and why (in Italian), when any is wrong or a K comes twice.
std::optional<FlagChanges> readFlagChanges(const std::vector<std::string>& colours,
                                           const std::string& type, std::string& why);

// Makes the changes in `draft`; false, and why, when colours are given for a team whose colours
// cannot change (nothing is changed then).
bool makeFlagChanges(FlagDraft& draft, const FlagChanges& changes, std::optional<int> team,
                     std::string& why);

// "--colour K=#RRGGBB|K=WORD" and "--type XX" on a command that writes or draws one flag.
struct ChangeOptions {
    std::vector<std::string> colours;
    std::string type;

    void declare(CLI::App& command);
};

}  // namespace tavrel::tool
