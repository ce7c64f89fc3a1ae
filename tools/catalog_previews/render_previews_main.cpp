// Renders every catalog preview, the design's drawing in its record's colours, into <id>.bmp
// files with the program's own renderer:  render_catalog_previews <output folder>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "bmp_file.h"
#include "catalog/catalog.h"

int main(int argc, char** argv) {
    using namespace tavrel;
    if (argc != 2) {
        std::cerr << "usage: render_catalog_previews <output folder>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
            const Bytes bmp = previews::encodeBmp(previews::catalogPreview(id));
            std::ofstream out(folder / (std::to_string(id) + ".bmp"), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bmp.data()),
                      static_cast<std::streamsize>(bmp.size()));
            if (!out)
                throw std::runtime_error("cannot write preview " + std::to_string(id));
        }
        std::cout << kCatalogSize << " previews written to " << folder.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "render_catalog_previews: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
