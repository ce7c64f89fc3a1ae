// catalog: the 135 designs with their names, or the record of one.
#include <iomanip>
#include <iostream>

#include "catalog/catalog.h"
#include "game/flag_record.h"
#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp = "i 135 disegni con il loro nome, o il record di uno";

void printDesign(int id, bool json, bool one, Streams io) {
    const Flag flag = catalogFlag(id);
    if (json) {
        io.out << "{\"number\": " << catalogPosition(id)
               << ", \"name\": " << tool::json(catalogName(id)) << ", \"type\": \""
               << hexByte(flag.type) << "\", \"colours\": " << jsonColours(flag)
               << ", \"record\": " << tool::json(formatFlagRecord(flag)) << "}"
               << (one ? "\n" : "");
    } else if (one) {
        io.out << formatFlagRecord(flag) << '\n';
    } else {
        io.out << std::setw(3) << catalogPosition(id) << "  " << hexByte(flag.type) << "  "
               << colourText(flag) << "  " << catalogName(id) << '\n';
    }
}

struct CatalogOptions {
    std::string number;
    bool json = false;

    void declare(CLI::App& command) {
        command.add_option("N", number, "il N° del disegno, 1–135");
        addJsonFlag(&command, json);
    }
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
    printList(io.out, json, kCatalogSize, [&](std::size_t i) {
        printDesign(kFirstCatalogId + static_cast<int>(i), json, false, io);
    });
    return kSuccess;
}

}  // namespace

void addCatalogCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "catalog", kHelp, io, status, listCatalog);
}

}  // namespace tavrel::tool
