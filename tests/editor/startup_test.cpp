// Start-up, reopening, closing and the goal nets.
#include <gtest/gtest.h>

#include "editor/messages.h"
#include "editor_fixture.h"
#include "layout/game_layout.h"

namespace tavrel::testing {
namespace {

Bytes withNetBytes(std::uint8_t first, std::uint8_t second) {
    Bytes image = pristineImage();
    image[kNetBytesOffset] = first;
    image[kNetBytesOffset + 1] = second;
    return image;
}

// An image cut short just before the net bytes.
Bytes shortImage() {
    return Bytes(pristineImage().begin(), pristineImage().begin() + kNetBytesOffset + 1);
}

TEST(StartUp, CancellingTheImageDialogEndsTheProgramQuietly) {
    FakeWindow window;
    FlagEditor editor(window);
    EXPECT_EQ(editor.startUp(), 0);
    EXPECT_TRUE(window.messages.empty());
    ASSERT_EQ(window.dialogRequests.size(), 1u);
    const OpenDialogRequest& dialog = window.dialogRequests[0];
    ASSERT_EQ(dialog.filters.size(), 3u);
    EXPECT_EQ(dialog.filters[0].description, "Image CDRWIN (*.bin)");
    EXPECT_EQ(dialog.filters[1].description, " Image CloneCD (*.img)");
    EXPECT_EQ(dialog.filters[2].pattern, "*.*");
    EXPECT_EQ(dialog.initialFolder, window.folder);
}

TEST_F(EditorTest, StartUpShowsTheFirstDesignAndTheStoredNetPattern) {
    EXPECT_EQ(window.previewId, 101);
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_EQ(window.netOption, NetOption::Normali);
    EXPECT_EQ(editor.state().netPattern, "00 65");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(EditorTest, TheNetBytesSelectTheirOption) {
    struct Case {
        Bytes image;
        std::optional<NetOption> option;
    };
    const Case cases[] = {
        {withNetBytes(0x00, 0x65), NetOption::Normali},
        {withNetBytes(0x28, 0x61), NetOption::Rombi},
        {withNetBytes(0x28, 0x65), std::nullopt},
        {shortImage(), std::nullopt},
    };
    for (const Case& c : cases) {
        FakeWindow fresh;
        FlagEditor other(fresh);
        fresh.dialogAnswers.push_back(writeImage("nets.bin", c.image));
        ASSERT_EQ(other.startUp(), std::nullopt);
        EXPECT_EQ(fresh.netOption, c.option);
        EXPECT_EQ(fresh.previewId, 101);
        EXPECT_TRUE(fresh.messages.empty());
        other.onClose();
    }
}

TEST_F(EditorTest, ModificaWritesExactlyTheTwoNetBytes) {
    window.checkNetOption(NetOption::Rombi);
    editor.onRombiSelected();
    EXPECT_EQ(changedOffsets(), std::set<std::int64_t>{}) << "selecting writes nothing";
    editor.onModifica();
    EXPECT_EQ(window.takeMessage(), text::kNetSaved);
    EXPECT_EQ(changedOffsets(), (std::set<std::int64_t>{kNetBytesOffset, kNetBytesOffset + 1}));
    EXPECT_EQ(image()[kNetBytesOffset], 0x28);
    EXPECT_EQ(image()[kNetBytesOffset + 1], 0x61);

    // Opening the same image again finds "Rombi".
    window.dialogAnswers.push_back(imagePath);
    editor.onOpenImage();
    EXPECT_EQ(window.netOption, NetOption::Rombi);
}

TEST_F(EditorTest, ReopeningAnImageWithUnknownNetBytesKeepsTheOptionForModifica) {
    const std::string second = writeImage("second.bin", withNetBytes(0x12, 0x34));
    window.dialogAnswers.push_back(second);
    editor.onOpenImage();
    EXPECT_EQ(window.netOption, NetOption::Normali);
    editor.onModifica();
    const Bytes written = readWholeFile(second);
    EXPECT_EQ(written[kNetBytesOffset], 0x00);
    EXPECT_EQ(written[kNetBytesOffset + 1], 0x65);
    EXPECT_EQ(image(), pristineImage()) << "the first image was closed before";
}

TEST_F(EditorTest, ModificaWithoutAnOptionWritesNothingButConfirms) {
    FakeWindow fresh;
    FlagEditor other(fresh);
    const std::string path = writeImage("unknown.bin", withNetBytes(0x12, 0x34));
    fresh.dialogAnswers.push_back(path);
    ASSERT_EQ(other.startUp(), std::nullopt);
    other.onModifica();
    EXPECT_EQ(fresh.takeMessage(), text::kNetSaved);
    EXPECT_EQ(readWholeFile(path), withNetBytes(0x12, 0x34));
}

TEST_F(EditorTest, ModificaOnAShortImageFailsWithoutWriting) {
    const std::string path = writeImage("short.bin", shortImage());
    window.dialogAnswers.push_back(path);
    editor.onOpenImage();
    editor.onModifica();  // "Normali" stays selected from the first image
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_NE(window.messages[0].text, text::kNetSaved);
    EXPECT_EQ(readWholeFile(path), shortImage());
}

TEST_F(EditorTest, CancellingApriChangesNothing) {
    window.chooseTeam(10);
    editor.onTeamChosen();
    editor.onNext();
    window.pairing = {"Italy Bandiera N° 2"};
    const FakeWindow before = window;
    editor.onOpenImage();  // no answer queued: cancelled
    EXPECT_EQ(window.nameBox, before.nameBox);
    EXPECT_EQ(window.pairing, before.pairing);
    EXPECT_EQ(window.teamIndex, 10);
    EXPECT_EQ(window.positionLabelText, "2");
    EXPECT_EQ(editor.state().catalogId, 102);
    EXPECT_TRUE(window.dialogRequests.back().clearFileName);
    editor.onModifica();  // the image is still open
    EXPECT_EQ(window.takeMessage(), text::kNetSaved);
}

TEST_F(EditorTest, ReopeningClearsTheEditorAndResetsTheCatalog) {
    window.chooseTeam(10);
    editor.onTeamChosen();
    editor.onNext();
    window.pairing = {"Italy Bandiera N° 2"};
    window.dialogAnswers.push_back(imagePath);  // the image that is already open
    editor.onOpenImage();
    EXPECT_TRUE(window.pairing.empty());
    EXPECT_EQ(window.teamIndex, -1);
    EXPECT_EQ(window.nameBox, "");
    EXPECT_EQ(window.positionLabelText, "1");
    EXPECT_EQ(window.previewId, 101);
    EXPECT_TRUE(window.salvaEnabled);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(EditorTest, AnImageHeldByAnotherEditorIsRefused) {
    FakeWindow second;
    FlagEditor other(second);
    second.dialogAnswers.push_back(imagePath);
    EXPECT_EQ(other.startUp(), 1);
    ASSERT_EQ(second.messages.size(), 1u);
    EXPECT_EQ(second.messages[0].text, text::kAccessRefused);
    EXPECT_EQ(second.messages[0].icon, MessageIcon::Critical);

    // In a reopening the previous image is closed first, then the program ends.
    const std::string mine = writeImage("mine.bin", pristineImage());
    FakeWindow third;
    FlagEditor reopening(third);
    third.dialogAnswers = {mine, imagePath};
    ASSERT_EQ(reopening.startUp(), std::nullopt);
    reopening.onOpenImage();
    EXPECT_EQ(third.endedWith, 1);
    EXPECT_EQ(third.takeMessage(), text::kAccessRefused);
    ImageFile probe;
    EXPECT_NO_THROW(probe.open(mine)) << "the previous image must be closed";
}

TEST_F(EditorTest, WithoutAnImageEveryOperationSaysSoAndNothingCrashes) {
    window.dialogAnswers.push_back(dir.file("missing.bin"));
    editor.onOpenImage();
    EXPECT_TRUE(window.messages.empty()) << "a failed opening is silent";
    window.chooseTeam(0);
    editor.onTeamChosen();
    editor.onSalva();
    editor.onExport();
    editor.onModifica();
    EXPECT_EQ(window.messages.size(), 4u);
    for (const RecordedMessage& message : window.messages) {
        EXPECT_NE(message.text.find("Nessuna immagine"), std::string::npos) << message.text;
    }
    EXPECT_EQ(image(), pristineImage());
}

TEST_F(EditorTest, ClosingKeepsWhatWasWritten) {
    editor.onRombiSelected();
    editor.onModifica();
    editor.onClose();
    EXPECT_EQ(image()[kNetBytesOffset], 0x28);
    ImageFile again;
    EXPECT_NO_THROW(again.open(imagePath)) << "closing releases the image";
}

}  // namespace
}  // namespace tavrel::testing
