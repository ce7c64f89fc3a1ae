// nets: shows the goal-net pattern, or writes one.
#include <iostream>

#include "game/change_names.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp = "mostra o cambia il formato delle reti";

struct NetsOptions {
    std::string image, pattern;
    bool json = false, leaveChecksums = false, force = false;

    void declare(CLI::App& command) {
        addImageArgument(&command, image);
        command.add_option("PATTERN", pattern, "normali o rombi");
        addJsonFlag(&command, json);
        command.add_flag("--leave-checksums", leaveChecksums,
                         "scrive solo i due byte: EDC ed ECC del loro settore restano come sono");
        addForceFlag(command, force);
    }
};

int setNets(const NetsOptions& options, ImageSession& session, Streams io) {
    if (!mayWrite(session, options.force, io))
        return kRefused;
    GameImage game(session);
    const NetPattern pattern =
        options.pattern == "normali" ? NetPattern::Plain : NetPattern::Diamond;
    ImageEdit edit = game.planNets(pattern);
    edit.description = change_name::nets(pattern);
    edit.leaveChecksums = options.leaveChecksums;
    session.apply(edit);
    io.out << "reti: " << options.pattern << '\n';
    return kSuccess;
}

int showNets(const NetsOptions& options, ImageSession& session, Streams io) {
    const std::optional<NetPattern> stored = GameImage(session).nets();
    const std::string name = !stored                        ? "sconosciute"
                             : *stored == NetPattern::Plain ? "normali"
                                                            : "rombi";
    if (options.json)
        io.out << "{\"nets\": " << (stored ? tool::json(name) : "null") << "}\n";
    else
        io.out << name << '\n';
    return kSuccess;
}

int nets(const NetsOptions& options, Streams io) {
    const std::string& pattern = options.pattern;
    if (!pattern.empty() && pattern != "normali" && pattern != "rombi")
        return refuse(io, "reti: \"" + pattern + "\" non è \"normali\" né \"rombi\"");
    const ImageAccess access = pattern.empty() ? ImageAccess::ReadOnly : ImageAccess::ReadWrite;
    return withImage(options.image, access, io, [&](ImageSession& session) {
        return pattern.empty() ? showNets(options, session, io) : setNets(options, session, io);
    });
}

}  // namespace

void addNetsCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "nets", kHelp, io, status, nets);
}

}  // namespace tavrel::tool
