// Opening a name the user gave as an image: a raw image is itself, a .cue sheet stands for the
// file of its data track, and a container or cooked image is refused before anything is read
// as raw sectors, let alone written.
#pragma once

#include <string>

namespace tavrel {

class ImageFile;

// The file to open for `name`: `name` itself, or the data track's file of a .cue sheet, found
// beside the sheet (its name matched in any case when the exact one is missing). Throws
// FileError BadCueSheet, its `cue` saying why and on which line, when the sheet names none;
// FileError of the sheet's role Image when it cannot be read.
std::string imagePathFor(const std::string& name);

// Throws FileError NotRawImage, `container` saying what the file is, unless the open file may
// be a raw image.
void refuseContainer(const ImageFile& file);

}  // namespace tavrel
