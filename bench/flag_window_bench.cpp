// What the flag window costs against one frame at 60 Hz (16.7 ms), as a user meets it, on Qt's
// offscreen platform (no display: the same widget work, drawn into memory):
//   open    the window shown for the team chosen (the team's flag read from the image, which
//           designs it is, its drawing's shapes worked out, fifteen swatches and the preview
//           drawn, every control's text set) and painted whole; the first time, when the
//           window is made, and again after closing it;
//   redraw  one colour chosen in the chooser (answered at once): the word snapped, which
//           designs the flag now is, the swatches and the preview drawn again, the window
//           painted whole.
// Every team with colours of its own in turn, on the demo image; prints the median and the
// slowest, in milliseconds, and their share of a frame.
//
//   flag_window_bench [ROUNDS]
#include <algorithm>
#include <iostream>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include "bench_window.h"
#include "editor/main_window_table.h"

using namespace tavrel;

namespace {

constexpr double kFrame = 1000.0 / 60;

void print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2], slowest = times.back();
    std::cout << "  " << what << ": median " << median << " (" << median / kFrame
              << " of a frame), slowest " << slowest << " (" << slowest / kFrame << ")\n";
}

// Milliseconds from the start of `action` until the window has painted everything it shows.
template <typename Action>
double timed(QWidget& window, Action action) {
    QElapsedTimer clock;
    clock.start();
    action();
    window.repaint();
    QCoreApplication::processEvents();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen platform's remarks (it raises no window) are not the benchmark's.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const bench::DemoImage image;
    auto dialogs = std::make_shared<bench::BenchDialogs>(image.path());
    MainWindow window(dialogs);
    if (window.editor().startUp())
        return 1;
    window.showCentred();
    QCoreApplication::processEvents();
    // The window is made when it is first opened.
    window.editor().chosen(main_window::kTeamList, 0);
    QElapsedTimer clock;
    clock.start();
    window.editor().onOpenFlagWindow();
    TableWindow& flags = *window.flagWindow();
    flags.repaint();
    QCoreApplication::processEvents();
    const double first = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    flags.close();
    auto* swatch = flags.findChild<QPushButton*>(QStringLiteral("swatch5"));

    std::vector<double> opens, redraws;
    for (int team = 0; team < kTeamCount; ++team) {
        if (!hasPalette(team))
            continue;
        window.editor().chosen(main_window::kTeamList, team);
        for (int round = 0; round < rounds; ++round) {
            opens.push_back(timed(flags, [&] { window.editor().onOpenFlagWindow(); }));
            // A colour the flag does not have, so that each choice is a change.
            const int level = 8 * round + 3;
            dialogs->colours.push_back(QColor(level, 255 - level, level));
            redraws.push_back(timed(flags, [&] { swatch->click(); }));
            flags.close();
        }
    }
    std::cout << "milliseconds, " << rounds << " rounds for each of the teams with colours; a "
              << "frame is " << kFrame << ":\n  open, the first time (the window made): " << first
              << " (" << first / kFrame << " of a frame)\n";
    print("open again", opens);
    print("redraw after a colour change", redraws);
    std::cout << "aim: each under one frame\n";
    return 0;
}
