// An editor started on a fresh copy of the test image, with a scripted window.
#pragma once

#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "editor/flag_editor.h"
#include "fake_window.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        imagePath = writeImage("game.bin", pristineImage());
        window.folder = dir.path().string();
        window.events = &editor;
        window.dialogAnswers.push_back(imagePath);
        ASSERT_EQ(editor.startUp(), std::nullopt);
    }

    std::string writeImage(const std::string& name, const Bytes& content) {
        writeWholeFile(dir.file(name), content);
        return dir.file(name);
    }
    Bytes image() const { return readWholeFile(imagePath); }

    void choose(int team) { window.choose("teamList", team); }
    // The image at `path` opened through "Apri Image CD".
    void open(const std::string& path) {
        window.dialogAnswers.push_back(path);
        window.click("openButton");
    }
    // The design at catalog `position` saved into `team`, its message dropped.
    void saveDesign(int team, int position) {
        choose(team);
        showDesign(catalogIdAt(position));
        window.click("saveButton");
        window.messages.clear();
    }
    void showDesign(int id) {
        while (editor.state().catalogId < id) window.click("nextButton");
        while (editor.state().catalogId > id) window.click("backButton");
    }
    void importInto(int team, const std::string& file) {
        choose(team);
        window.dialogAnswers.push_back(file);
        window.click("importButton");
    }
    std::vector<std::string> pairings() const { return window.lines("pairingList"); }

    TempDir dir;
    std::string imagePath;
    FakeWindow window;
    FlagEditor editor{window};
};

}  // namespace tavrel::testing
