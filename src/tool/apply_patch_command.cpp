// apply-patch: a PPF or VCDIFF patch written into the image as one logged change, after every
// byte it writes was checked against what the patch expects there.
#include <iostream>

#include "game/change_names.h"
#include "game/patch_file.h"
#include "image/offset_text.h"
#include "platform/paths.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/place_text.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "scrive una patch PPF o VCDIFF (xdelta) nell'immagine, come una modifica che si può annullare";

constexpr std::size_t kConflictsShown = 8;

struct ApplyPatchOptions {
    std::string image, patch;
    bool force = false, dryRun = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("PATCH", patch, "la patch: .ppf, .xdelta o .vcdiff")->required();
        command.add_flag("--force", force,
                         "scrive anche dove l'immagine non è quella che la patch si aspetta, o "
                         "non sembra il gioco");
        command.add_flag("--dry-run", dryRun, "dice cosa cambierebbe, senza scrivere nulla");
    }
};

std::string faultText(const PatchFault& fault) {
    const std::string at = fault.at >= 0 ? " (a " + hexOffset(fault.at) + ")" : "";
    switch (fault.kind) {
        case PatchFault::Kind::NotAPatch:
            return "non è una patch PPF o VCDIFF (xdelta)";
        case PatchFault::Kind::UnknownVersion:
            return "è una versione di patch che Tavrel non conosce" + at;
        case PatchFault::Kind::Truncated:
            return "è troncata" + at;
        case PatchFault::Kind::EmptyRecord:
            return "ha un blocco di lunghezza 0" + at;
        case PatchFault::Kind::Compressed:
            return "è compressa con " + fault.name +
                   ", che Tavrel non legge: rifatela senza compressione secondaria "
                   "(xdelta3 -S none)";
        case PatchFault::Kind::CodeTable:
            return "usa una tabella di codici propria, che Tavrel non legge";
        case PatchFault::Kind::BadInstruction:
            return "è danneggiata: un'istruzione esce dalla sua finestra" + at;
        case PatchFault::Kind::TooLarge:
            return "ha una finestra più grande di 64 MiB" + at;
        case PatchFault::Kind::Malformed:
        case PatchFault::Kind::None:
            break;
    }
    return "è danneggiata" + at;
}

std::string mismatchText(const PatchPlan& plan) {
    switch (plan.mismatch) {
        case PatchPlan::Mismatch::Block:
            return "la patch è per un'altra immagine: i byte di controllo a " +
                   hexOffset(plan.mismatchAt) + " sono diversi";
        case PatchPlan::Mismatch::GiImage:
            return "la patch è per un'immagine GI, non per un'immagine raw .bin";
        case PatchPlan::Mismatch::Checksum:
        case PatchPlan::Mismatch::None:
            break;
    }
    return "la patch è per un'altra immagine: il checksum della finestra a " +
           hexOffset(plan.mismatchAt) + " non corrisponde";
}

// Why the patch cannot be applied to this image at all.
std::string hardRefusal(const PatchPlan& plan, std::int64_t size) {
    if (plan.fault.kind != PatchFault::Kind::None)
        return faultText(plan.fault);
    if (plan.pastEnd >= 0)
        return "va oltre la fine dell'immagine (a " + hexOffset(plan.pastEnd) + "; l'immagine ha " +
               std::to_string(size) + " byte)";
    return "fa un'immagine di " + std::to_string(plan.targetSize) + " byte, questa ne ha " +
           std::to_string(size);
}

// "Denmark: tavolozza cambiata da un'altra modifica", then the first offsets.
void tellConflicts(const PatchPlan& plan, Streams io) {
    PlaceTally places;
    for (const std::int64_t offset : plan.conflicts) places.add(offset);
    for (const auto& [team, kinds] : places.teams) {
        for (const PlaceKind kind : kinds)
            io.err << "tavrel-tool: " << teamLabel(team) << ": " << placeWord(kind)
                   << (kind == PlaceKind::Palette ? " cambiata" : " cambiato")
                   << " da un'altra modifica\n";
    }
    if (places.nets)
        io.err << "tavrel-tool: reti cambiate da un'altra modifica\n";
    io.err << "tavrel-tool: primi byte in conflitto:";
    for (std::size_t i = 0; i < plan.conflicts.size() && i < kConflictsShown; ++i)
        io.err << (i == 0 ? " " : ", ") << hexOffset(plan.conflicts[i]);
    io.err << '\n';
}

int carryOut(ImageSession& session, PatchPlan plan, const ApplyPatchOptions& options, Streams io) {
    const std::string patch = options.patch + ": ";
    if (!plan.applicable())
        return refuse(io,
                      patch + hardRefusal(plan, session.file().size()) + "; nulla è stato scritto");
    const char* forceHint = "; nulla è stato scritto (--force per scriverla comunque)";
    if (plan.madeForSize >= 0)
        io.err << "tavrel-tool: attenzione: " << patch << "fatta da un'immagine di "
               << plan.madeForSize << " byte, questa ne ha " << session.file().size() << '\n';
    if (plan.mismatch != PatchPlan::Mismatch::None && !options.force)
        return refuse(io, patch + mismatchText(plan) + forceHint);
    if (!plan.conflicts.empty() && !options.force) {
        refuse(io, patch + "l'immagine non ha né i byte che la patch si aspetta né i suoi in " +
                       std::to_string(plan.conflicts.size()) + " byte" + forceHint);
        tellConflicts(plan, io);
        return kRefused;
    }
    if (plan.mismatch != PatchPlan::Mismatch::None || !plan.conflicts.empty())
        io.err << "tavrel-tool: attenzione: " << patch
               << (plan.conflicts.empty()
                       ? mismatchText(plan)
                       : std::to_string(plan.conflicts.size()) + " byte in conflitto")
               << (options.dryRun ? "" : ": scritta comunque (--force)") << '\n';
    if (plan.edit.changes.empty()) {
        io.out << patch << "già nell'immagine, nulla da scrivere\n";
        return kSuccess;
    }
    if (!options.dryRun && !mayWrite(session, options.force, io))
        return kRefused;
    // The sectors' checksums follow their data: the places say what changes.
    PlaceTally places = plan.places;
    places.checksumSectors.clear();
    for (const std::string& line : placeLines(places)) io.out << line << '\n';
    std::size_t bytes = 0;
    for (const ByteChange& change : plan.edit.changes) bytes += change.after.size();
    if (options.dryRun) {
        io.out << bytes << " byte da scrivere; nulla è stato scritto (--dry-run)\n";
        return kSuccess;
    }
    plan.edit.description = change_name::patch(options.patch);
    session.apply(plan.edit);
    io.out << patch << bytes << " byte scritti in " << options.image << '\n';
    return kSuccess;
}

int applyPatch(const ApplyPatchOptions& options, Streams io) {
    return guarded(io, [&] {
        const PatchFile patch = PatchFile::read(options.patch);
        const std::string refused = options.patch + ": ";
        if (patch.tooLarge())
            return refuse(io, refused +
                                  "più di 64 MiB, troppo grande per una patch di questo "
                                  "gioco; nulla è stato scritto");
        if (!patch.usable())
            return refuse(io, refused + faultText(patch.fault()) + "; nulla è stato scritto");
        const ImageAccess access = options.dryRun ? ImageAccess::ReadOnly : ImageAccess::ReadWrite;
        return withImage(options.image, access, io, [&](ImageSession& session) {
            return carryOut(session, patch.plan(session), options, io);
        });
    });
}

}  // namespace

void addApplyPatchCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "apply-patch", kHelp, io, status, applyPatch);
}

}  // namespace tavrel::tool
