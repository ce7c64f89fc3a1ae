// verify and fix-checksums: the EDC and ECC of the image's sectors, all of them or those
// holding places Tavrel writes.
#include <unistd.h>

#include <iomanip>
#include <iostream>

#include "game/game_places.h"
#include "image/file_error.h"
#include "image/image_verify.h"
#include "sector/sector_checks.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

// Sectors checked and rewritten per change-log record: bounds the memory of a run over a
// whole image whose checksums are all wrong.
constexpr std::int64_t kFixBatch = 1024;

const char* kindName(SectorKind kind) {
    switch (kind) {
        case SectorKind::Mode1:
            return "Mode 1";
        case SectorKind::Mode2Form1:
            return "Mode 2 Form 1";
        case SectorKind::Mode2Form2:
            return "Mode 2 Form 2";
        case SectorKind::NoSync:
            return "senza sync";
        case SectorKind::OtherMode:
            return "altro modo";
    }
    return "";
}

const char* faultName(SectorFault fault) {
    switch (fault) {
        case SectorFault::Edc:
            return "EDC errato";
        case SectorFault::Ecc:
            return "ECC errato";
        case SectorFault::EdcAndEcc:
            return "EDC ed ECC errati";
    }
    return "";
}

// "verifica  42%" on stderr, redrawn in place, when stderr is a terminal.
VerifyProgress progressBar(const char* what, Streams io) {
    if (::isatty(STDERR_FILENO) == 0)
        return {};
    return [what, io](std::int64_t done, std::int64_t total) {
        io.err << '\r' << what << ' ' << std::setw(3)
               << done * 100 / std::max<std::int64_t>(total, 1) << "%"
               << (done == total ? "\r\033[K" : "") << std::flush;
    };
}

std::vector<std::int64_t> allSectors(const ImageFile& file) {
    std::vector<std::int64_t> sectors(static_cast<std::size_t>(file.size() / kRawSectorSize));
    for (std::size_t i = 0; i < sectors.size(); ++i) sectors[i] = static_cast<std::int64_t>(i);
    return sectors;
}

void printTally(const VerifyTally& tally, Streams io) {
    for (const SectorKind kind : {SectorKind::Mode1, SectorKind::Mode2Form1, SectorKind::Mode2Form2,
                                  SectorKind::NoSync, SectorKind::OtherMode}) {
        io.out << std::left << std::setw(15) << kindName(kind) << std::right << std::setw(9)
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

}  // namespace

int verify(const std::string& image, bool touchedOnly, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const VerifyTally tally = touchedOnly
                                      ? verifyImageSectors(session->file(), touchedSectors())
                                      : verifyImage(session->file(), progressBar("verifica", io));
        printTally(tally, io);
        return tally.badSectors == 0 ? kSuccess : kFileFailure;
    });
}

int fixChecksums(const std::string& image, bool all, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        const std::vector<std::int64_t> sectors =
            all ? allSectors(session->file()) : touchedSectors();
        const VerifyProgress progress = all ? progressBar("riparazione", io) : VerifyProgress{};
        std::int64_t rewritten = 0;
        for (std::size_t first = 0; first < sectors.size(); first += kFixBatch) {
            ImageEdit edit;
            const std::size_t end = std::min(sectors.size(), first + kFixBatch);
            for (std::size_t i = first; i < end; ++i) {
                const std::int64_t offset = sectors[i] * kRawSectorSize;
                ByteChange change{offset, session->file().read(offset, kRawSectorSize), {}};
                change.after = change.before;
                const Regeneration done =
                    regenerateChecksums(std::span(change.after).first<kRawSectorSize>());
                if (done.kind == SectorKind::OtherMode)
                    io.out << "settore " << sectors[i] << ": modo " << int{change.before[kModeAt]}
                           << ", lasciato com'è\n";
                if (!done.changed())
                    continue;
                io.out << "settore " << sectors[i] << "  " << hexOffset(offset) << "  "
                       << (done.edcRewritten && done.eccRewritten ? "EDC ed ECC riscritti"
                           : done.edcRewritten                    ? "EDC riscritto"
                                                                  : "ECC riscritto")
                       << '\n';
                edit.changes.push_back(std::move(change));
            }
            if (!edit.changes.empty()) {
                rewritten += static_cast<std::int64_t>(edit.changes.size());
                edit.description =
                    "fix-checksums: " + std::to_string(edit.changes.size()) + " settori";
                session->apply(edit);
                warnIfUnlogged(*session, io);
            }
            if (progress)
                progress(static_cast<std::int64_t>(end), static_cast<std::int64_t>(sectors.size()));
        }
        io.out << "settori riscritti: " << rewritten << '\n';
        return kSuccess;
    });
}

}  // namespace tavrel::tool
