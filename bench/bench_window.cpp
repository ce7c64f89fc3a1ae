// The demo image for the window benchmarks.
#include "bench_window.h"

#include <unistd.h>

#include "demo_image_content.h"
#include "image/whole_files.h"

namespace tavrel::bench {

DemoImage::DemoImage()
    : folder_(std::filesystem::temp_directory_path() /
              ("tavrel-window-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    writeFilesWhole(folder_.string(), {{"demo.bin", demoImage()}}, FileRole::Image);
}

DemoImage::~DemoImage() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace tavrel::bench
