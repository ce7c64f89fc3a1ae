// verify: every sector's EDC and ECC, or those of the sectors holding places Tavrel writes.
#include <iomanip>
#include <iostream>
#include <iterator>

#include "game/game_places.h"
#include "image/offset_text.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "walk/image_verify.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "controlla EDC ed ECC dei settori: quanti per tipo, quanti errati, i primi 20";

const char* faultName(SectorFault fault) {
    constexpr const char* kNames[] = {"EDC errato", "ECC errato", "EDC ed ECC errati"};
    return kNames[static_cast<std::size_t>(fault)];
}

void printTally(const VerifyTally& tally, Streams io) {
    for (const auto& [kind, name, key] : kSectorKindNames) {
        io.out << std::left << std::setw(15) << name << std::right << std::setw(9)
               << tally.count(kind);
        if (tally.bad(kind) > 0)
            io.out << "   errati " << tally.bad(kind);
        io.out << '\n';
    }
    io.out << "settori errati: " << tally.badSectors << '\n';
    for (const BadSector& bad : tally.firstBadSectors) {
        io.out << "settore " << std::setw(7) << bad.sector << "  " << hexOffset(bad.byteOffset)
               << "  " << faultName(bad.fault) << '\n';
    }
}

struct VerifyOptions {
    std::string image;
    bool touched = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_flag("--touched", touched,
                         "solo i settori che contengono i posti che Tavrel scrive");
    }
};

int verify(const VerifyOptions& options, Streams io) {
    return withImage(options.image, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        const VerifyTally tally = options.touched
                                      ? verifyImageSectors(session.file(), touchedSectors())
                                      : verifyImage(session.file(), progressBar("verifica", io));
        printTally(tally, io);
        return tally.badSectors == 0 ? kSuccess : kFileFailure;
    });
}

}  // namespace

void addVerifyCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "verify", kHelp, io, status, verify);
}

}  // namespace tavrel::tool
