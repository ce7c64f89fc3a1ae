// A flag's picture as a PNG file: 8-bit RGBA, so that a transparent colour stays transparent.
#pragma once

#include "catalog/flag_renderer.h"
#include "image/file_error.h"

namespace tavrel::tool {

Bytes encodePng(const FlagPicture& picture);

// Whether `start`, a file's first bytes, is the beginning of a PNG file.
bool isPngStart(const Bytes& start);

}  // namespace tavrel::tool
