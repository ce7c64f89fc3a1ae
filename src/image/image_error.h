// The one exception type of image and file access: what was attempted, where, and why, as a
// sentence the user can read in a message box.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavrel {

class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system refused read-write access to the chosen image, or another program holds it.
class AccessRefused : public IoError {
public:
    using IoError::IoError;
};

// "0xDB3F7C": how an image offset is named in messages (modders read offsets in hex).
std::string hexOffset(std::int64_t offset);

}  // namespace tavrel
