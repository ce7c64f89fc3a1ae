// Text crosses into the system as UTF-16: the program keeps UTF-8, the wide calls take UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

std::wstring wideText(std::string_view text);
std::string utf8Text(std::wstring_view text);

}  // namespace tavrel
