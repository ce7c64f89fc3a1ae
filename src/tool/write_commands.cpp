// The commands that write: apply (one flag, or a plan), export and setting the nets.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "catalog/catalog.h"
#include "game/flag_record.h"
#include "game/flag_files.h"
#include "tool/command_support.h"
#include "tool/flag_plan.h"

namespace tavrel::tool {
namespace {

// A plan is a few lines; more than this is not a plan.
constexpr std::size_t kPlanLimit = 1 << 20;

const char* labelOf(int team) {
    return kTeams[static_cast<std::size_t>(team)].label;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The plan's text; false after a refusal when it cannot be read.
bool readPlanText(const std::string& path, std::istream& in, std::string& text, Streams io) {
    std::ifstream file;
    if (path != "-")
        file.open(path, std::ios::binary);
    std::istream& source = path == "-" ? in : file;
    if (!source) {
        io.err << "tavrel-tool: impossibile leggere il piano " << path << '\n';
        return false;
    }
    std::istreambuf_iterator<char> next(source), end;
    for (; next != end && text.size() <= kPlanLimit; ++next) text += *next;
    if (text.size() > kPlanLimit) {
        io.err << "tavrel-tool: " << path << " è troppo grande per essere un piano\n";
        return false;
    }
    return true;
}

}  // namespace

int applyFlag(const std::string& image, const std::string& teamText, const std::string& design,
              const std::string& flagFile, Streams io) {
    const std::optional<int> team = teamArgument(teamText, io);
    if (!team)
        return kRefused;
    std::optional<int> id;
    if (!design.empty() && !(id = designArgument(design, io)))
        return kRefused;
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        GameImage game(*session);
        std::optional<Flag> flag;
        std::string why;
        if (id)
            flag = flagForTeam(catalogFlag(*id), *team, *id);
        else if (!(flag = fileFlag(flagFile, why)))
            return refuse(io, why);
        ImageEdit edit = game.planFlag(*team, *flag);
        edit.description = "apply " + std::string(labelOf(*team)) + ": " +
                           (id ? "N° " + std::to_string(catalogPosition(*id)) : flagFile);
        game.apply(edit);
        warnIfUnlogged(*session, io);
        io.out << labelOf(*team) << ": "
               << (hasPalette(*team) ? "bandiera scritta"
                                     : "scritto solo il tipo (la squadra non ha colori propri)")
               << '\n';
        return kSuccess;
    });
}

int applyPlan(const std::string& image, const std::string& planPath, Streams io) {
    return guarded(io, [&] {
        // The image is held from before the plan is read to after its one sync.
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        GameImage game(*session);
        std::string text;
        if (!readPlanText(planPath, io.in, text, io))
            return kFileFailure;
        const Plan plan = readPlan(text, folderOf(planPath == "-" ? "./-" : planPath));
        for (const std::string& error : plan.errors)
            io.err << "tavrel-tool: " << planPath << ": " << error << '\n';
        if (!plan.errors.empty())
            return refuse(io, "nulla è stato scritto");
        ImageEdit edit = game.planFlags(plan.flags);
        edit.description =
            "apply --plan " + planPath + ": " + std::to_string(plan.flags.size()) + " bandiere";
        game.apply(edit);
        warnIfUnlogged(*session, io);
        io.out << plan.flags.size() << " bandiere scritte in " << image << '\n';
        return kSuccess;
    });
}

int exportFlags(const std::string& image, const std::vector<std::string>& teamTexts,
                const std::string& folder, Streams io) {
    std::vector<int> teams;
    for (const std::string& text : teamTexts) {
        const std::optional<int> team = teamArgument(text, io);
        if (!team)
            return kRefused;
        if (!hasPalette(*team))
            return refuse(io, std::string(labelOf(*team)) +
                                  " non ha colori propri: la sua bandiera non si può esportare");
        teams.push_back(*team);
    }
    if (teamTexts.empty()) {
        for (int team = 0; team < kTeamCount; ++team) {
            if (hasPalette(team))
                teams.push_back(team);
        }
    }
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const GameImage game(*session);
        std::vector<NewFile> files;
        for (const int team : teams) {
            const std::optional<std::string> name = flagFileName(game.teamName(team));
            if (!name)
                return refuse(io, std::string(labelOf(team)) +
                                      ": il nome memorizzato non può essere il nome di un file");
            files.push_back({*name, formatFlagRecord(game.readFlag(team)) + "\r\n"});
        }
        writeFilesAtomically(folder, files);
        for (const NewFile& written : files) io.out << folder << '/' << written.name << '\n';
        return kSuccess;
    });
}

int nets(const std::string& image, const std::string& pattern, bool json, Streams io) {
    if (!pattern.empty() && pattern != "normali" && pattern != "rombi")
        return refuse(io, "reti: \"" + pattern + "\" non è \"normali\" né \"rombi\"");
    return guarded(io, [&] {
        if (!pattern.empty()) {
            const auto session = openImage(image, ImageAccess::ReadWrite, io);
            GameImage game(*session);
            ImageEdit edit =
                game.planNets(pattern == "normali" ? NetPattern::Plain : NetPattern::Diamond);
            edit.description = "nets: " + pattern;
            game.apply(edit);
            warnIfUnlogged(*session, io);
            io.out << "reti: " << pattern << '\n';
            return kSuccess;
        }
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const std::optional<NetPattern> stored = GameImage(*session).nets();
        const std::string name = !stored                        ? "sconosciute"
                                 : *stored == NetPattern::Plain ? "normali"
                                                                : "rombi";
        if (json)
            io.out << "{\"nets\": " << (stored ? tool::json(name) : "null") << "}\n";
        else
            io.out << name << '\n';
        return kSuccess;
    });
}

}  // namespace tavrel::tool
