// How the change log names each kind of change Tavrel makes to an image, in Italian, the same
// whether the window or the tool made it: "Salva Denmark: N° 82". Logs written before keep the
// names they were written with.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "game/game_places.h"

namespace tavrel {
struct ChangeRecord;
}

namespace tavrel::change_name {

// A catalog design written into a team ("Salva Denmark: N° 82"; the design's position).
std::string design(int team, int position);
// A flag file's flag written into a team ("Import Flag_Denma.flg → Denmark").
std::string flagFile(int team, const std::string& path);
// A team's flag as it was, with the window's changes on top ("Salva Italy: bandiera della
// squadra (colore 3=801F)").
std::string teamFlag(int team);
// `change` with the colours and type given on top of the design or file ("Salva Italy: N° 11
// (colore 3=#FF8000, tipo 0B)"); `change` as it is when none were given.
std::string withEdits(std::string change, std::span<const std::string> colours,
                      const std::string& type);
// A plan's flags written at once ("Piano piano.txt: 20 bandiere"; "-" for standard input).
std::string plan(const std::string& path, std::size_t flags);
// A patch file written into the image ("Patch mod.xdelta").
std::string patch(const std::string& path);
// "Reti: Normali", "Reti: Rombi".
std::string nets(NetPattern pattern);
// The changes `taken` (the most recent first) taken back: "Annulla: Salva Denmark: N° 82",
// "Annulla le modifiche 7, 6".
std::string undo(std::span<const ChangeRecord> taken);
// Wrong EDC and ECC rewritten ("EDC ed ECC riscritti: 7 settori").
std::string checksumRepair(std::size_t sectors);

}  // namespace tavrel::change_name
