// diff: what differs between two images, by team and place; with --plan, a plan that "apply
// --plan" turns the first into the second with, as far as flags go.
#include <algorithm>
#include <iostream>

#include "catalog/catalog.h"
#include "game/flag_record.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "tool/place_text.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "cosa cambia tra due immagini, per squadra e posto (--plan: un piano per apply --plan)";

// Compared this many bytes at a time.
constexpr std::int64_t kChunk = 4 << 20;

struct DiffOptions {
    std::string first, second;
    bool plan = false;

    void declare(CLI::App& command) {
        command.add_option("A", first, "l'immagine di partenza")->required();
        command.add_option("B", second, "l'immagine da raggiungere")->required();
        command.add_flag("--plan", plan,
                         "stampa un piano che apply --plan usa per rendere A uguale a B");
    }
};

PlaceTally differences(const ImageFile& a, const ImageFile& b) {
    PlaceTally tally;
    const std::int64_t common = std::min(a.size(), b.size());
    for (std::int64_t at = 0; at < common; at += kChunk) {
        const auto count = static_cast<std::size_t>(std::min(kChunk, common - at));
        const Bytes left = a.read(at, count), right = b.read(at, count);
        for (std::size_t i = 0; i < count; ++i) {
            if (left[i] != right[i])
                tally.add(at + static_cast<std::int64_t>(i));
        }
    }
    return tally;
}

// The flag `team` has in `game`: its type, and its palette where it has one.
Flag flagOf(const GameImage& game, int team) {
    return hasPalette(team) ? game.readFlag(team) : Flag{game.readType(team), {}};
}

// "58" when a design gives the team exactly this flag, else the flag's record in quotes.
std::string planSource(const Flag& flag, int team) {
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        Flag design = flagForTeam(catalogFlag(id), team, id);
        if (!hasPalette(team))
            design.palette = {};
        if (design == flag)
            return std::to_string(catalogPosition(id));
    }
    return "\"" + formatFlagRecord(flag) + "\"";
}

const char* netsName(const std::optional<NetPattern>& nets) {
    return !nets ? "sconosciute" : *nets == NetPattern::Plain ? "normali" : "rombi";
}

void printDifferences(const PlaceTally& tally, const GameImage& a, const GameImage& b, Streams io) {
    for (const auto& [team, kinds] : tally.teams) {
        io.out << teamLabel(team) << ':';
        const char* separator = " ";
        for (const PlaceKind kind : kinds) {
            io.out << separator << placeWord(kind);
            separator = ", ";
            if (kind == PlaceKind::Type && team >= 0)
                io.out << ' ' << hexByte(a.readType(team)) << " → " << hexByte(b.readType(team));
            if (kind == PlaceKind::Name)
                io.out << " \"" << a.teamName(team) << "\" → \"" << b.teamName(team) << '"';
        }
        io.out << '\n';
    }
    if (tally.nets)
        io.out << "reti: " << netsName(a.nets()) << " → " << netsName(b.nets()) << '\n';
    PlaceTally rest = tally;
    rest.teams.clear();
    rest.nets = false;
    for (const std::string& line : placeLines(rest)) io.out << line << '\n';
}

// Plan lines for the flags; comments for what a plan does not write.
void printPlan(const PlaceTally& tally, const DiffOptions& options, const GameImage& b,
               Streams io) {
    io.out << "# piano per rendere " << options.first << " uguale a " << options.second
           << ": tavrel-tool apply " << options.first << " --plan PIANO\n";
    for (const auto& [team, kinds] : tally.teams) {
        if (team >= 0 && (kinds.contains(PlaceKind::Type) || kinds.contains(PlaceKind::Palette)))
            io.out << '"' << teamLabel(team) << "\" " << planSource(flagOf(b, team), team) << '\n';
        if (kinds.contains(PlaceKind::Name) || team < 0)
            io.out << "# " << teamLabel(team) << ": " << (team < 0 ? "tipo" : "nome")
                   << " diverso, che un piano non scrive\n";
    }
    if (tally.nets)
        io.out << "# reti: " << netsName(b.nets()) << " (tavrel-tool nets " << options.first << ' '
               << netsName(b.nets()) << ")\n";
    if (tally.otherBytes > 0)
        io.out << "# fuori dai posti del gioco: "
               << bytesInSectors(tally.otherBytes, tally.otherSectors.size())
               << " diversi, che un piano non scrive\n";
}

int diff(const DiffOptions& options, Streams io) {
    return withImage(options.first, ImageAccess::ReadOnly, io, [&](ImageSession& first) {
        return withImage(options.second, ImageAccess::ReadOnly, io, [&](ImageSession& second) {
            const ImageFile &a = first.file(), &b = second.file();
            const PlaceTally tally = differences(a, b);
            const GameImage before(first), after(second);
            if (options.plan)
                printPlan(tally, options, after, io);
            else
                printDifferences(tally, before, after, io);
            if (a.size() != b.size())
                io.err << "tavrel-tool: attenzione: " << options.first << " ha " << a.size()
                       << " byte, " << options.second << " " << b.size() << ": confrontati i primi "
                       << std::min(a.size(), b.size()) << '\n';
            else if (tally.empty() && !options.plan)
                io.out << "nessuna differenza\n";
            return kSuccess;
        });
    });
}

}  // namespace

void addDiffCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "diff", kHelp, io, status, diff);
}

}  // namespace tavrel::tool
