// Team names are stored as 2-byte full-width character codes (capital and small letters, the
// full stop), with a blank as the single byte 20. This decodes them; nothing ever encodes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// The decimal ASCII code ("65") of the letter whose 2-byte code is given as trimmed byte text
// ("82 60"); "32", a blank, for "20 20" and for anything the table does not hold.
std::string letterCodeFor(std::string_view characterCode);

// Byte text of one name piece with its first 20 byte doubled, so that the single-byte blank
// fills a whole 2-byte unit: "82 60 20 82 61 " gives "82 60 20 20 82 61 ". Later 20 bytes of
// the piece stay single, as the game's own names never hold two.
std::string widenFirstBlank(std::string_view byteText);

// The trimmed byte text of each 2-byte unit of a (trimmed) byte text, in order; a last odd
// byte forms a unit of its own.
std::vector<std::string> characterUnits(std::string_view trimmedByteText);

}  // namespace tavrel
