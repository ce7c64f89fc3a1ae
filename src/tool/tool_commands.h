// The commands of tavrel-tool, each a function of its arguments that prints its results on
// `out`, its failures on `err` (one line each), and returns the exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tavrel::tool {

struct Streams {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;  // a plan given as "-"
};

int listTeams(const std::string& image, bool json, Streams io);
int showTeam(const std::string& image, const std::string& team, bool json, Streams io);
// Exactly one of `design` and `file` is given.
int applyFlag(const std::string& image, const std::string& team, const std::string& design,
              const std::string& file, Streams io);
int applyPlan(const std::string& image, const std::string& plan, Streams io);
int exportFlags(const std::string& image, const std::vector<std::string>& teams,
                const std::string& folder, Streams io);
// `pattern` empty shows the stored nets; "normali" or "rombi" writes them.
int nets(const std::string& image, const std::string& pattern, bool json, Streams io);
// The sectors' EDC and ECC: all sectors, or those holding places Tavrel writes. verify exits
// 1 when any data sector does not check; fix-checksums rewrites what is wrong where it may.
int verify(const std::string& image, bool touchedOnly, Streams io);
int fixChecksums(const std::string& image, bool all, Streams io);
// The image's change log: its changes, newest last; taking back the last `steps`; a PPF 3.0
// patch of their net effect.
int history(const std::string& image, bool json, Streams io);
int undo(const std::string& image, int steps, Streams io);
int patch(const std::string& image, const std::string& output, const std::string& description,
          Streams io);
// `number` empty lists the catalog.
int listCatalog(const std::string& number, bool json, Streams io);

}  // namespace tavrel::tool
