// Writes a demo game image, so that the editor can be tried without the game.
//
//   tavrel-demo-image [--force] FILE
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "demo_image_content.h"
#include "raw_image_builder.h"

int main(int argc, char** argv) {
    bool force = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--force") {
            force = true;
        } else if (path.empty() && !argument.starts_with("-")) {
            path = argument;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::cerr << "usage: tavrel-demo-image [--force] FILE\n";
        return 64;
    }
    if (std::filesystem::exists(path) && !force) {
        std::cerr << path << " already exists; not overwritten (use --force to replace it)\n";
        return 1;
    }
    try {
        tavrel::build::RawImageBuilder(tavrel::demoImage()).writeTo(path);
    } catch (const std::exception& error) {
        std::cerr << "cannot write " << path << ": " << error.what() << '\n';
        return 1;
    }
    std::cout << "Demo image written to " << std::filesystem::absolute(path).string() << '\n';
    return 0;
}
