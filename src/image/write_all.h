// The one loop that writes a whole buffer at an offset of a descriptor, whatever size of pieces
// the system takes it in and however often a signal interrupts it.
#pragma once

#include <cstdint>
#include <span>

namespace tavrel {

// False when a write failed, with errno set (0 when the system wrote nothing and said no more).
bool writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset);

}  // namespace tavrel
