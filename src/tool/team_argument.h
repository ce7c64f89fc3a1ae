// How the command line names teams and designs: a team by its index 0..85 or its list label in
// any case ("denmark", "Bayer Monaco"); a design by the number the window shows, 1..135.
#pragma once

#include <optional>
#include <string_view>

namespace tavrel::tool {

std::optional<int> teamFromArgument(std::string_view text);

// The catalog id of a design number, or none when the text is not a number 1..135.
std::optional<int> designFromArgument(std::string_view text);

}  // namespace tavrel::tool
