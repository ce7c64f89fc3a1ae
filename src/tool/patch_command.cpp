// patch: a PPF 3.0 patch of what the logged changes did, for an unmodified copy of the image.
#include <algorithm>
#include <iostream>

#include "image/paths.h"
#include "image/platform.h"
#include "image/whole_files.h"
#include "journal/ppf_patch.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "una patch PPF 3.0 dell'effetto delle modifiche registrate, per l'immagine originale";

struct PatchOptions {
    std::string image, output, description;
    bool force = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("OUT", output, "il file .ppf da scrivere")->required();
        command.add_option("--description", description, "la descrizione nella patch (50 byte)");
        command.add_flag("--force", force, "sostituisce un file .ppf che c'è già");
    }
};

bool sameFile(const sys::PathInfo& target, const std::string& path) {
    sys::PathInfo info;
    return sys::inspect(path, info).ok() && info.kind == sys::PathKind::File &&
           info.identity == target.identity;
}

// Why the patch must not be written to `output`, empty when it may: never over the image or its
// log (whatever name reaches them), never into a folder's name, over another file only when
// asked.
std::string refusal(const ImageSession& session, const PatchOptions& options) {
    const std::string itself =
        options.output + " è l'immagine o il suo registro: la patch non si scrive lì";
    // The log may not be there yet: its name is taken all the same.
    if (pathIn(sys::resolved(folderOf(options.output)), fileNameOf(options.output)) ==
        session.logPath())
        return itself;
    sys::PathInfo target;
    if (!sys::inspect(options.output, target).ok() || target.kind == sys::PathKind::Missing)
        return {};
    if (target.kind == sys::PathKind::Folder)
        return options.output + " è una cartella: serve il nome del file .ppf";
    if (target.identity == session.file().identity() || sameFile(target, session.logPath()))
        return itself;
    if (target.kind != sys::PathKind::File)
        return options.output + " non è un file normale";
    if (!options.force)
        return options.output + " esiste già: --force per sostituirlo";
    return {};
}

int writePatch(const PatchOptions& options, Streams io) {
    return withImage(options.image, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        if (const std::string why = refusal(session, options); !why.empty())
            return refuse(io, why + "; nulla è stato scritto");
        const std::vector<ByteChange> runs = netChanges(session.history(), session.file());
        const std::string text = options.description.empty()
                                     ? "Tavrel: " + fileNameOf(options.image)
                                     : options.description;
        writeFilesWhole(folderOf(options.output),
                        {{fileNameOf(options.output), encodePpf3(runs, text)}}, FileRole::Patch);
        std::size_t changed = 0;
        for (const ByteChange& run : runs) changed += run.after.size();
        io.out << options.output << ": " << changed << " byte in " << runs.size() << " blocchi\n";
        const std::vector<ChangeRecord>& history = session.history();
        if (std::any_of(history.begin(), history.end(),
                        [](const ChangeRecord& r) { return r.gap; }))
            io.err << "tavrel-tool: attenzione: il registro danneggiato ha perso delle modifiche; "
                      "i byte che solo loro hanno cambiato non sono nella patch\n";
        return kSuccess;
    });
}

}  // namespace

void addPatchCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "patch", kHelp, io, status, writePatch);
}

}  // namespace tavrel::tool
