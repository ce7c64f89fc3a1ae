// Renders every catalog preview from the design file into <id>.bmp files:
//   render_catalog_previews <design file> <output folder>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "bmp_file.h"
#include "catalog/catalog.h"
#include "preview_design.h"
#include "preview_raster.h"

int main(int argc, char** argv) {
    using namespace tavrel;
    if (argc != 3) {
        std::cerr << "usage: render_catalog_previews <design file> <output folder>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const auto designs = previews::readDesigns(in);

        std::set<int> ids;
        for (const auto& d : designs) {
            if (d.id < kFirstCatalogId || d.id > kLastCatalogId || !ids.insert(d.id).second) {
                throw std::runtime_error("design id " + std::to_string(d.id) +
                                         " is outside the catalog or given twice");
            }
        }
        if (ids.size() != static_cast<std::size_t>(kCatalogSize)) {
            throw std::runtime_error("the design file does not cover every catalog id");
        }

        const std::filesystem::path folder = argv[2];
        std::filesystem::create_directories(folder);
        for (const auto& d : designs) {
            const Bytes bmp =
                previews::encodeBmp(previews::renderPreview(d, catalogRecordText(d.id)));
            std::ofstream out(folder / (std::to_string(d.id) + ".bmp"), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bmp.data()),
                      static_cast<std::streamsize>(bmp.size()));
            if (!out)
                throw std::runtime_error("cannot write preview " + std::to_string(d.id));
        }
        std::cout << designs.size() << " previews written to " << folder.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "render_catalog_previews: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
