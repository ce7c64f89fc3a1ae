// catalog: the 135 designs, or the record of one.
#include <iomanip>
#include <iostream>

#include "catalog/catalog.h"
#include "game/flag_record.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

void printDesign(int id, bool json, bool one, Streams io) {
    const Flag flag = catalogFlag(id);
    if (json) {
        io.out << (one ? "" : "  ") << "{\"number\": " << catalogPosition(id) << ", \"type\": \""
               << hexByte(flag.type) << "\", \"colours\": " << jsonColours(flag)
               << ", \"record\": " << tool::json(formatFlagRecord(flag)) << "}"
               << (!one && id < kLastCatalogId ? ",\n" : "\n");
    } else if (one) {
        io.out << formatFlagRecord(flag) << '\n';
    } else {
        io.out << std::setw(3) << catalogPosition(id) << "  " << hexByte(flag.type) << "  "
               << colourText(flag) << '\n';
    }
}

struct CatalogOptions {
    std::string number;
    bool json = false;
};

int listCatalog(const CatalogOptions& options, Streams io) {
    const std::string& number = options.number;
    const bool json = options.json;
    if (!number.empty()) {
        const std::optional<int> id = designArgument(number, io);
        if (id)
            printDesign(*id, json, true, io);
        return id ? kSuccess : kRefused;
    }
    io.out << (json ? "[\n" : "");
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) printDesign(id, json, false, io);
    io.out << (json ? "]\n" : "");
    return kSuccess;
}

}  // namespace

void addCatalogCommand(CLI::App& app, Streams io, int& status) {
    const auto [command, options] =
        addCommand(app, "catalog", "i 135 disegni, o il record di uno", io, status, listCatalog);
    command->add_option("N", options->number, "il N° del disegno, 1–135");
    addJsonFlag(command, options->json);
}

}  // namespace tavrel::tool
