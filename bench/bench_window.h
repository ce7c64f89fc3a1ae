// What the window benchmarks share: the demo image written to a temporary folder, and dialogs
// that answer the image dialog with it and the colour chooser with the colours queued.
#pragma once

#include <deque>
#include <filesystem>
#include <memory>

#include "main_window.h"
#include "window_dialogs.h"

namespace tavrel::bench {

class BenchDialogs final : public WindowDialogs {
public:
    explicit BenchDialogs(QString image) : image_(std::move(image)) {}

    std::deque<QColor> colours;

    void showMessage(QWidget*, const QString&, const QString&, MessageIcon) override {}
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    QString askOpenFileName(QWidget*, const FileDialogSetup&) override { return image_; }
    std::optional<QColor> askColour(QWidget*, const QColor&, const QString&) override {
        if (colours.empty())
            return std::nullopt;
        const QColor colour = colours.front();
        colours.pop_front();
        return colour;
    }
    QString programFolder() const override { return QString(); }

private:
    QString image_;
};

// The demo image in a folder of its own, removed when this goes.
class DemoImage {
public:
    DemoImage();
    ~DemoImage();
    QString path() const { return QString::fromStdString((folder_ / "demo.bin").string()); }

private:
    std::filesystem::path folder_;
};

}  // namespace tavrel::bench
