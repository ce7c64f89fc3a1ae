// Editing a flag before it is written.
#include "catalog/flag_draft.h"

#include "catalog/catalog.h"
#include "game/team_table.h"

namespace tavrel {

FlagDraft::FlagDraft(const Flag& flag, bool coloursEditable)
    : flag_(flag), coloursEditable_(coloursEditable) {
    if (coloursEditable_)
        match_ = matchFlag(flag_);
}

FlagDraft FlagDraft::ofDesign(int catalogId, std::optional<int> team) {
    const Flag flag = catalogFlag(catalogId);
    FlagDraft draft(team ? flagForTeam(flag, *team, catalogId) : flag, !team || hasPalette(*team));
    if (draft.coloursEditable_)
        draft.drawing_ = catalogId;
    return draft;
}

FlagDraft FlagDraft::ofFlag(const Flag& flag, std::optional<int> team) {
    FlagDraft draft(flag, !team || hasPalette(*team));
    draft.drawing_ = draft.match_.drawingDesign();
    return draft;
}

bool FlagDraft::setWord(int k, std::uint16_t word) {
    if (!coloursEditable_)
        return false;
    setColourWord(flag_, k, word);
    changed();
    return true;
}

bool FlagDraft::setColour(int k, Rgb8 chosen) {
    return setWord(k, recoloured(word(k), chosen));
}

bool FlagDraft::toggleFlagBit(int k) {
    return setWord(k, static_cast<std::uint16_t>(word(k) ^ kFlagBit));
}

void FlagDraft::setType(std::uint8_t type) {
    flag_.type = type;
    changed();
    if (drawing_ && catalogFlag(*drawing_).type == type)
        return;
    drawing_ = coloursEditable_ ? nearestDesign(flag_) : std::nullopt;
    map_.reset();
}

void FlagDraft::changed() {
    if (coloursEditable_)
        match_ = matchFlag(flag_);
}

std::optional<FlagPicture> FlagDraft::picture(int scale) const {
    if (!drawing_ || !coloursEditable_)
        return std::nullopt;
    if (!map_)
        map_ = mapColours(catalogDrawing(*drawing_));
    return paintFlag(*map_, flag_, scale);
}

}  // namespace tavrel
