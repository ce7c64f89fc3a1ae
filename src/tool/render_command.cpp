// render: a flag drawn as the preview shows it (one pixel a pixel of the drawing, enlarged
// whole, 0000 transparent) into a PNG file: a team's flag in an image, a design or a .flg
// file, with colours and type changed as apply changes them.
#include <iostream>

#include "catalog/catalog.h"
#include "image/whole_files.h"
#include "platform/paths.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/flag_changes.h"
#include "tool/flag_plan.h"
#include "tool/png_file.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "disegna una bandiera come l'anteprima (di una squadra, --design o --file) in un file PNG";

struct RenderOptions {
    std::string image, team, design, file, png;
    int scale = 1;
    ChangeOptions changes;

    void declare(CLI::App& command) {
        command.add_option("IMAGE", image, "l'immagine del gioco, con TEAM");
        command.add_option("TEAM", team, kTeamHelp);
        auto* byDesign = command.add_option("--design", design, "il N° del disegno, 1–135");
        auto* byFile = command.add_option("--file", file, "un file .flg");
        byDesign->excludes(byFile);
        changes.declare(command);
        command.add_option("--png", png, "il file PNG da scrivere")->required();
        command.add_option("--scale", scale, "ogni pixel del disegno diventa S×S pixel (1–64)");
    }
};

// Why the picture may not be written to `path`, empty when it may: a file already there is
// replaced only when it is a PNG, so that a slip of the keyboard never writes over the image
// or any other file.
std::string refusal(const std::string& path) {
    try {
        if (!isPngStart(readFileStart(path, 8, FileRole::Picture)))
            return path + " c'è già e non è un file PNG: non si sostituisce";
    } catch (const FileError& error) {
        if (error.failure != FileFailure::OpenFailed)
            return describe(error);
    }
    return {};
}

int draw(FlagDraft draft, const FlagChanges& changes, const RenderOptions& options, Streams io) {
    std::string why;
    if (!makeFlagChanges(draft, changes, std::nullopt, why))
        return refuse(io, why);
    const std::optional<FlagPicture> picture = draft.picture(options.scale);
    if (!picture)
        return refuse(io, "nessun disegno ha il tipo " + hexByte(draft.type()) +
                              ": la bandiera non si può disegnare");
    if (const std::string why = refusal(options.png); !why.empty())
        return refuse(io, why + "; nulla è stato scritto");
    writeFilesWhole(folderOf(options.png), {{fileNameOf(options.png), encodePng(*picture)}},
                    FileRole::Picture);
    const int id = *draft.drawingDesign();
    io.out << options.png << ": " << picture->width << "x" << picture->height
           << " pixel, il disegno di N° " << catalogPosition(id) << " (" << catalogName(id)
           << ")\n";
    return kSuccess;
}

int render(const RenderOptions& options, Streams io) {
    const bool ofTeam = !options.image.empty();
    if (ofTeam == (!options.design.empty() || !options.file.empty()) ||
        ofTeam == options.team.empty())
        throw CLI::ValidationError("render", "servono IMAGE e TEAM, oppure --design o --file");
    if (options.scale < 1 || options.scale > kMaxScale)
        return refuse(io, "--scale " + std::to_string(options.scale) + " fuori da 1–64");
    std::string why;
    const std::optional<FlagChanges> changes =
        readFlagChanges(options.changes.colours, options.changes.type, why);
    if (!changes)
        return refuse(io, why);
    if (ofTeam)
        return withTeamFlag(options.image, options.team, "non c'è nulla da disegnare", io,
                            [&](int, const Flag& flag) {
                                return draw(FlagDraft::ofFlag(flag), *changes, options, io);
                            });
    std::optional<int> id;
    if (!options.design.empty() && !(id = designArgument(options.design, io)))
        return kRefused;
    return guarded(io, [&] {
        if (id)
            return draw(FlagDraft::ofDesign(*id), *changes, options, io);
        const std::optional<Flag> flag = fileFlag(options.file, why);
        return flag ? draw(FlagDraft::ofFlag(*flag), *changes, options, io) : refuse(io, why);
    });
}

}  // namespace

void addRenderCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "render", kHelp, io, status, render);
}

}  // namespace tavrel::tool
