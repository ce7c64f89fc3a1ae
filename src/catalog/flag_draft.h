// A flag being edited before it is written: started from a design or from a flag as a team
// holds it, its colours and type changed one at a time, and at every step which designs it is
// and its picture. Every rule of such an edit lives here (snapping a chosen colour, keeping
// bit 15, a team without a palette taking only a type, which drawing shows the flag), so that a
// window or the command line only shows the draft and calls it. A value: copy it to keep a
// state, compare flag() to see whether anything changed.
#pragma once

#include <optional>

#include "catalog/flag_match.h"
#include "catalog/flag_renderer.h"
#include "game/colour_word.h"
#include "game/flag.h"

namespace tavrel {

class FlagDraft {
public:
    // Design `catalogId` (101..235) as the catalog holds it, drawn as that design. With a team,
    // the flag that team gets from the design: Parma's type 38 for design 158, and for a team
    // without a palette, the design's type alone.
    static FlagDraft ofDesign(int catalogId, std::optional<int> team = std::nullopt);
    // A flag as a team holds it (for a team without a palette, only its type counts) or as a
    // .flg file gives it; drawn as the design it equals, else as the nearest of its type.
    static FlagDraft ofFlag(const Flag& flag, std::optional<int> team = std::nullopt);

    // What would be written: the type and the fifteen words.
    const Flag& flag() const { return flag_; }
    std::uint8_t type() const { return flag_.type; }
    std::uint16_t word(int k) const { return colourWord(flag_, k); }

    // False for Newcastle and Parma: their colours are the game's own, not in the image; only
    // their type can change, and there is nothing of theirs to draw.
    bool coloursEditable() const { return coloursEditable_; }

    // Colour k (1..15) becomes `word` exactly, bit 15 included.
    bool setWord(int k, std::uint16_t word);
    // Colour k becomes `chosen`, snapped to 5 bits a channel; its bit 15 stays.
    bool setColour(int k, Rgb8 chosen);
    bool toggleFlagBit(int k);
    // Each of the three returns false, and changes nothing, when colours cannot change.

    // The type byte. The drawing stays while it is of this type; otherwise it becomes the
    // design of this type with the nearest colours, or none when no design has this type.
    void setType(std::uint8_t type);

    // Which designs the draft now is (kept up to date at every change). For a team without a
    // palette it holds nothing: its colours are unknown.
    const FlagMatch& match() const { return match_; }

    // The design whose drawing shows the draft. It is chosen when the draft starts and when the
    // type changes, never when a colour does: the picture stays put while colours change.
    std::optional<int> drawingDesign() const { return drawing_; }

    // The draft drawn with each pixel `scale` x `scale` (1..kMaxScale); none without a drawing
    // or without colours to draw. The drawing's shapes are worked out once per drawing; after
    // that a call only colours pixels. Not for two threads at once.
    std::optional<FlagPicture> picture(int scale = 1) const;

private:
    FlagDraft(const Flag& flag, bool coloursEditable);
    void changed();

    Flag flag_;
    bool coloursEditable_ = true;
    FlagMatch match_;
    std::optional<int> drawing_;
    mutable std::optional<ColourMap> map_;  // of drawing_, once first drawn
};

}  // namespace tavrel
