// The preview file format: an uncompressed 24-bit bottom-up device-independent bitmap.
#pragma once

#include "image/file_error.h"
#include "preview_raster.h"

namespace tavrel::previews {

// Each 5-bit channel widens to 8 bits as (c << 3) | (c >> 2), so that dropping the low three
// bits gives the record's colour back exactly.
Bytes encodeBmp(const Raster& raster);

}  // namespace tavrel::previews
