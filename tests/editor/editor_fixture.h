// An editor started on a fresh copy of a framed test image, with a scripted window.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "editor/flag_editor.h"
#include "fake_window.h"
#include "raw_image_builder.h"
#include "test_files.h"

namespace tavrel::testing {

// The test image every editor test starts from: pattern-filled user data, every team's name
// stored as the game stores it, net bytes 00 65.
const Bytes& pristineImage();

// 0-based offsets of a team's slot in the five type-table copies, and of its palette bytes.
std::set<std::int64_t> typeSlotOffsets(int team);
std::set<std::int64_t> paletteOffsets(int team);

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes `image` as a new file in the test folder and returns its path.
    std::string writeImage(const std::string& name, const Bytes& image);
    Bytes image() const { return readWholeFile(imagePath); }

    // Offsets that differ from the image as the test started.
    std::set<std::int64_t> changedOffsets() const;

    TempDir dir;
    std::string imagePath;
    FakeWindow window;
    FlagEditor editor{window};
};

}  // namespace tavrel::testing
