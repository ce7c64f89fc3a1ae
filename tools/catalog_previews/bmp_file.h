// The preview file format: an uncompressed 24-bit bottom-up device-independent bitmap.
#pragma once

#include "catalog/flag_renderer.h"
#include "image/file_error.h"

namespace tavrel::previews {

// The picture's red, green and blue; a transparent pixel is black, as its word's colour is.
Bytes encodeBmp(const FlagPicture& picture);

// The preview of catalog design `id`: its drawing in its record's colours, as the committed
// bitmap holds it.
FlagPicture catalogPreview(int id);

}  // namespace tavrel::previews
