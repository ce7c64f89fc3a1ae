// A .cue sheet as disc dumps come with it, read for the one thing Tavrel needs: the file that
// holds the data track, TRACK 01, as 2352-byte raw sectors. Text in, the track's file or the
// reason there is none out; finding that file beside the sheet is image_name.h's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

struct CueFault {
    enum class Kind {
        None,
        NotASheet,      // binary bytes, or no FILE and TRACK lines at all
        NoDataTrack,    // no TRACK 01, or no FILE before it
        NotRawTrack,    // TRACK 01 is audio or cooked (MODE1/2048, MODE2/2336, ...)
        LateStart,      // TRACK 01's INDEX 01 is not at the start of its file
        OutsideFolder,  // the FILE's name is absolute or climbs out with ".."
        MissingFile,    // no file of that name beside the sheet, in any case
    };
    Kind kind = Kind::None;
    int line = 0;      // 1-based line of the sheet; 0 for the sheet as a whole
    std::string text;  // that line as the sheet writes it, blanks around it left out
};

struct CueDataTrack {
    std::string file;  // as the sheet names it, quotes removed
    int fileLine = 0;  // the line of its FILE command
    std::string fileText;
};

struct CueReading {
    std::optional<CueDataTrack> track;
    CueFault fault;  // why there is none
};

// Reads a sheet as real ones are written: keywords in any case, names quoted or bare, CR LF or
// LF lines, a UTF-8 byte order mark, REM, PREGAP, INDEX and other lines around the ones read.
CueReading parseCueSheet(std::string_view text);

// True for a name ending in ".cue", in any case.
bool isCueSheetName(std::string_view path);

}  // namespace tavrel
