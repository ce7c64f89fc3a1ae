// The commands that only read: teams, show, the stored nets and the catalog.
#include <iomanip>
#include <iostream>

#include "catalog/catalog.h"
#include "game/flag_record.h"
#include "image/image_file.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// The N° of every design whose type and colours are the flag's.
std::vector<int> matchingDesigns(const Flag& flag) {
    std::vector<int> numbers;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        if (catalogFlag(id) == flag)
            numbers.push_back(catalogPosition(id));
    }
    return numbers;
}

std::string joined(const std::vector<int>& numbers, const char* separator) {
    std::string text;
    for (const int number : numbers)
        text += (text.empty() ? "" : separator) + std::to_string(number);
    return text;
}

}  // namespace

int listTeams(const std::string& image, bool json, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const GameImage game(*session);
        io.out << (json ? "[\n" : "");
        for (int team = 0; team < kTeamCount; ++team) {
            const std::string label = kTeams[static_cast<std::size_t>(team)].label;
            const std::string name = game.teamName(team);
            const std::uint8_t type = game.readType(team);
            std::optional<Flag> flag;
            if (hasPalette(team))
                flag = game.readFlag(team);
            const std::vector<int> designs = flag ? matchingDesigns(*flag) : std::vector<int>{};
            if (json) {
                io.out << "  {\"index\": " << team << ", \"label\": " << tool::json(label)
                       << ", \"name\": " << tool::json(name) << ", \"type\": \"" << hexByte(type)
                       << "\", \"colours\": " << (flag ? jsonColours(*flag) : "null")
                       << ", \"designs\": [" << joined(designs, ", ") << "]}"
                       << (team + 1 < kTeamCount ? ",\n" : "\n");
                continue;
            }
            io.out << std::setw(2) << team << "  " << std::left << std::setw(15) << label
                   << std::setw(22) << ("\"" + name + "\"") << std::right << hexByte(type) << "  "
                   << std::setw(74) << std::left << (flag ? colourText(*flag) : "(solo il tipo)")
                   << std::right << "  " << (designs.empty() ? "-" : joined(designs, ",")) << '\n';
        }
        io.out << (json ? "]\n" : "");
        return kSuccess;
    });
}

int showTeam(const std::string& image, const std::string& teamText, bool json, Streams io) {
    const std::optional<int> team = teamArgument(teamText, io);
    if (!team)
        return kRefused;
    if (!hasPalette(*team))
        return refuse(io, std::string(kTeams[static_cast<std::size_t>(*team)].label) +
                              " non ha colori propri: si può cambiare solo il suo tipo");
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const std::string record = formatFlagRecord(GameImage(*session).readFlag(*team));
        if (json)
            io.out << "{\"index\": " << *team << ", \"record\": " << tool::json(record) << "}\n";
        else
            io.out << record << '\n';
        return kSuccess;
    });
}

int listCatalog(const std::string& number, bool json, Streams io) {
    std::vector<int> ids;
    if (number.empty()) {
        for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) ids.push_back(id);
    } else if (const auto id = designArgument(number, io)) {
        ids.push_back(*id);
    } else {
        return kRefused;
    }
    io.out << (json && number.empty() ? "[\n" : "");
    for (const int id : ids) {
        const Flag flag = catalogFlag(id);
        if (json) {
            io.out << (number.empty() ? "  " : "") << "{\"number\": " << catalogPosition(id)
                   << ", \"type\": \"" << hexByte(flag.type)
                   << "\", \"colours\": " << jsonColours(flag)
                   << ", \"record\": " << tool::json(formatFlagRecord(flag)) << "}"
                   << (number.empty() && id < kLastCatalogId ? ",\n" : "\n");
        } else if (number.empty()) {
            io.out << std::setw(3) << catalogPosition(id) << "  " << hexByte(flag.type) << "  "
                   << colourText(flag) << '\n';
        } else {
            io.out << formatFlagRecord(flag) << '\n';
        }
    }
    io.out << (json && number.empty() ? "]\n" : "");
    return kSuccess;
}

}  // namespace tavrel::tool
