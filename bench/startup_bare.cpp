// The bare Qt programs startup_bench measures the window against: an application and one
// window of the main window's size, shown and painted, then the end; empty, or with --text
// one line of text in it, which brings in the fonts as any window with words does.
#include <cstring>

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(462, 359);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        (new QLabel(QStringLiteral("Tavrel 1.0"), &window))->move(20, 20);
    window.show();
    window.repaint();
    QCoreApplication::processEvents();
    return 0;
}
