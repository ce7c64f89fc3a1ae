// apply: one flag (a design or a .flg file) into one team, or every flag of a plan at once.
#include <iostream>
#include <iterator>

#include "catalog/catalog.h"
#include "game/change_names.h"
#include "image/whole_files.h"
#include "platform/paths.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/flag_changes.h"
#include "tool/flag_plan.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "scrive una bandiera (--design o --file, con --colour e --type se servono) o tutte quelle di "
    "un piano (--plan)";

// A plan is a few lines; more than this is not a plan.
constexpr std::size_t kPlanLimit = 1 << 20;

struct ApplyOptions {
    std::string image, team, design, file, plan;
    ChangeOptions changes;
    bool leaveChecksums = false, force = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("TEAM", team, kTeamHelp);
        auto* byDesign = command.add_option("--design", design, "il N° del disegno, 1–135");
        auto* byFile = command.add_option("--file", file, "un file .flg");
        auto* byPlan = command.add_option(
            "--plan", plan,
            "un piano: una riga \"SQUADRA DISEGNO-o-FILE [--colour K=…] [--type XX]\" per "
            "bandiera (- per stdin)");
        byDesign->excludes(byFile)->excludes(byPlan);
        byFile->excludes(byPlan);
        changes.declare(command);
        command.add_flag("--leave-checksums", leaveChecksums,
                         "scrive solo i posti: EDC ed ECC dei loro settori restano come sono");
        addForceFlag(command, force);
    }
};

const char* labelOf(int team) {
    return kTeams[static_cast<std::size_t>(team)].label;
}

// The plan's text; a file that is no plain file or is over the limit is refused.
std::string readPlanText(const std::string& path, std::istream& in) {
    std::string text;
    if (path == "-") {
        for (std::istreambuf_iterator<char> next(in), end; next != end && text.size() <= kPlanLimit;
             ++next)
            text += *next;
    } else {
        const Bytes bytes = readFileStart(path, kPlanLimit + 1, FileRole::Plan);
        text.assign(bytes.begin(), bytes.end());
    }
    if (text.size() > kPlanLimit)
        throw FileError(FileFailure::TooLarge, FileRole::Plan, path);
    return text;
}

// Writes the edit through the image's log, checksums as asked.
void write(ImageSession& session, ImageEdit edit, const ApplyOptions& options) {
    edit.leaveChecksums = options.leaveChecksums;
    session.apply(edit);
}

int applyFlag(const ApplyOptions& options, Streams io) {
    const std::optional<int> team = teamArgument(options.team, io);
    if (!team)
        return kRefused;
    std::optional<int> id;
    if (!options.design.empty() && !(id = designArgument(options.design, io)))
        return kRefused;
    std::string why;
    const std::optional<FlagChanges> changes =
        readFlagChanges(options.changes.colours, options.changes.type, why);
    if (!changes)
        return refuse(io, why);
    return withImage(options.image, ImageAccess::ReadWrite, io, [&](ImageSession& session) {
        if (!mayWrite(session, options.force, io))
            return kRefused;
        GameImage game(session);
        std::optional<FlagDraft> draft;
        if (id) {
            draft = FlagDraft::ofDesign(*id, *team);
        } else if (const std::optional<Flag> flag = fileFlag(options.file, why)) {
            draft = FlagDraft::ofFlag(*flag, *team);
        } else {
            return refuse(io, why);
        }
        if (!makeFlagChanges(*draft, *changes, *team, why))
            return refuse(io, why + "; nulla è stato scritto");
        ImageEdit edit = game.planFlag(*team, draft->flag());
        edit.description = change_name::withEdits(
            id ? change_name::design(*team, catalogPosition(*id))
               : change_name::flagFile(*team, options.file),
            options.changes.colours, options.changes.type);
        write(session, std::move(edit), options);
        io.out << labelOf(*team) << ": "
               << (hasPalette(*team) ? "bandiera scritta"
                                     : "scritto solo il tipo (la squadra non ha colori propri)")
               << '\n';
        return kSuccess;
    });
}

int applyPlan(const ApplyOptions& options, Streams io) {
    // The image is held from before the plan is read to after its one sync.
    return withImage(options.image, ImageAccess::ReadWrite, io, [&](ImageSession& session) {
        if (!mayWrite(session, options.force, io))
            return kRefused;
        GameImage game(session);
        const Plan plan = readPlan(readPlanText(options.plan, io.in), folderOf(options.plan));
        for (const std::string& error : plan.errors)
            io.err << "tavrel-tool: " << options.plan << ": " << error << '\n';
        if (!plan.errors.empty())
            return refuse(io, "nulla è stato scritto");
        ImageEdit edit = game.planFlags(plan.flags);
        edit.description = change_name::plan(options.plan, plan.flags.size());
        write(session, std::move(edit), options);
        io.out << plan.flags.size() << " bandiere scritte in " << options.image << '\n';
        return kSuccess;
    });
}

int apply(const ApplyOptions& options, Streams io) {
    const bool changes = !options.changes.colours.empty() || !options.changes.type.empty();
    if (!options.plan.empty() && changes)
        throw CLI::ValidationError("apply", "--colour e --type di un piano vanno nelle sue righe");
    if (!options.plan.empty() && options.team.empty())
        return applyPlan(options, io);
    if (!options.team.empty() && (!options.design.empty() || !options.file.empty()))
        return applyFlag(options, io);
    throw CLI::ValidationError("apply", "servono TEAM con --design o --file, oppure --plan");
}

}  // namespace

void addApplyCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "apply", kHelp, io, status, apply);
}

}  // namespace tavrel::tool
