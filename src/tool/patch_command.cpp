// patch: a PPF 3.0 or a VCDIFF patch of what the logged changes did, for an unmodified copy of
// the image.
#include <algorithm>
#include <cctype>
#include <iostream>

#include "image/whole_files.h"
#include "journal/image_view.h"
#include "journal/ppf_patch.h"
#include "journal/vcdiff_writing.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "una patch PPF 3.0 o VCDIFF (xdelta) dell'effetto delle modifiche registrate, per "
    "l'immagine originale";

struct PatchOptions {
    std::string image, output, description, format;
    bool force = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("OUT", output, "il file da scrivere: .ppf, .xdelta o .vcdiff")
            ->required();
        command.add_option("--format", format, "ppf o vcdiff (altrimenti dal nome di OUT)")
            ->check(CLI::IsMember({"ppf", "vcdiff"}))
            ->type_name("ppf|vcdiff");
        command.add_option("--description", description,
                           "la descrizione in una patch PPF (50 byte)");
        command.add_flag("--force", force, "sostituisce un file che c'è già");
    }
};

// VCDIFF when asked, or for a name ending in .xdelta or .vcdiff; PPF otherwise.
bool vcdiffWanted(const PatchOptions& options) {
    if (!options.format.empty())
        return options.format == "vcdiff";
    std::string name = fileNameOf(options.output);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto endsWith = [&](const std::string& end) {
        return name.size() > end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith(".xdelta") || endsWith(".vcdiff");
}

// The windows that hold changes carry the image's bytes there now and before the log's changes.
Bytes vcdiffPatch(const ImageSession& session, const ImageView& before) {
    std::vector<VcdiffWindowBytes> windows;
    for (const VcdiffWindowPlan& window :
         planVcdiffWindows(session.file().size(), before.logged())) {
        const auto length = static_cast<std::size_t>(window.span.length);
        if (window.changes)
            windows.push_back({window.span, before.read(window.span.offset, length),
                               session.file().read(window.span.offset, length)});
        else
            windows.push_back({window.span, {}, {}});
    }
    return encodeVcdiff(windows);
}

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
        return options.output + " è una cartella: serve il nome del file della patch";
    // A .cue sheet named as the image is kept too: it is the user's way to the image.
    if (target.identity == session.file().identity() || sameFile(target, session.logPath()) ||
        sameFile(target, options.image))
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
        const ImageView before = ImageView::beforeLog(session);
        const std::vector<ByteChange>& runs = before.logged();
        const std::string text = options.description.empty()
                                     ? "Tavrel: " + fileNameOf(options.image)
                                     : options.description;
        const Bytes patch =
            vcdiffWanted(options) ? vcdiffPatch(session, before) : encodePpf3(runs, text);
        writeFilesWhole(folderOf(options.output), {{fileNameOf(options.output), patch}},
                        FileRole::Patch);
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
