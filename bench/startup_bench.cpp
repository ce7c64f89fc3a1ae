// Start-up of the main window against a bare Qt program (startup_bare beside this program),
// each started as a process of its own until it ends:
//   window  Tavrel as it starts: the application, the main window made from its table (the
//           flag window waits until it is first opened), the image dialog answered with the
//           demo image at once, the image opened (its lock, its change log), the window shown
//           and painted;
//   bare    an application and one empty window of the same size, shown and painted;
//   text    the same with one line of text in it: the fonts found and loaded, which every
//           window with words pays for once.
// On the display given (DISPLAY), else on Qt's offscreen platform. Runs in turn; prints the
// medians in milliseconds and the window's ratios to both (aim: at most 1.3).
//
//   startup_bench [ROUNDS]     (startup_bench --window IMAGE is the window's run)
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>

#include "bench_window.h"

extern char** environ;

using namespace tavrel;
using Clock = std::chrono::steady_clock;

namespace {

int showWindow(int argc, char** argv, const char* image) {
    QApplication app(argc, argv);
    MainWindow window(std::make_shared<bench::BenchDialogs>(QString::fromLocal8Bit(image)));
    if (window.editor().startUp())
        return 1;
    window.showCentred();
    window.repaint();
    QCoreApplication::processEvents();
    return 0;
}

// Milliseconds from starting the program to its end; negative when it failed.
double run(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    int status = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--window") == 0)
        return showWindow(argc, argv, argv[2]);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
    if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0')
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::string bare = (std::filesystem::path(self).parent_path() / "startup_bare").string();
    const bench::DemoImage image;
    std::vector<double> windows, bares, texts;
    for (int round = 0; round < rounds; ++round) {
        windows.push_back(run({self, "--window", image.path().toStdString()}));
        bares.push_back(run({bare}));
        texts.push_back(run({bare, "--text"}));
        if (windows.back() < 0 || bares.back() < 0 || texts.back() < 0) {
            std::cerr << "startup_bench: a run failed\n";
            return 1;
        }
    }
    const double window = median(windows), empty = median(bares), text = median(texts);
    std::cout << "start-up to the first painted window, median of " << rounds << " runs ("
              << (std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "display")
              << "), milliseconds:\n  Tavrel's main window: " << window
              << "\n  a bare Qt program, empty window: " << empty << " (ratio " << window / empty
              << ")\n  a bare Qt program, one line of text: " << text << " (ratio " << window / text
              << ")\naim: a ratio of at most 1.3\n";
    return 0;
}
