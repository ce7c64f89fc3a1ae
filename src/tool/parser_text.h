// How the command-line parser speaks: its help in Italian and within 80 columns, its refusals of
// a command line in one Italian line like the tool's other failures, and the command a mistyped
// name most likely meant.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tavrel::tool {

inline constexpr std::size_t kHelpWidth = 80;

// Italian labels, help flag and wrapping for `app`; commands added later inherit them.
void speakItalian(CLI::App& app);

// The parser's refusal of a command line, in Italian: "manca l'argomento IMAGE", "--design e
// --file non vanno insieme"; `extras` are the arguments no command took, in the order given.
// Wording it does not know is kept, after an Italian lead.
std::string parseFailure(const CLI::Error& error, const std::vector<std::string>& extras);

// `text` broken at blanks into lines of at most `width` characters (a UTF-8 sequence counts as
// one); a word longer than a line stays whole.
std::string wrapped(const std::string& text, std::size_t width);

// The name of `names` that `typed` most likely meant: the same but for the case, a letter or two
// (one per three) missed, added, changed or swapped, or typed is its start. None when none is.
std::optional<std::string> nearestName(const std::string& typed,
                                       const std::vector<std::string>& names);

}  // namespace tavrel::tool
