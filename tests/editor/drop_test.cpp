// Opening by drop, a patch dropped on the window, and the question before the first write into
// an image that does not look like the game. (An image given at start: the real-window tests.)
#include "editor/messages.h"
#include "editor_fixture.h"
#include "journal/ppf_patch.h"

namespace tavrel::testing {
namespace {

TEST_F(EditorTest, AnotherDiscIsWrittenOnlyOnceTheUserSaysSoAndAskedOnce) {
    const Bytes zeros(pristineImage().size());
    open(writeImage("zeros.bin", zeros));
    choose(13);
    window.yes = false;
    window.click("saveButton");
    EXPECT_EQ(window.questions, std::vector<std::string>{text::kNotTheGame});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(pairings().empty());
    EXPECT_EQ(readWholeFile(dir.file("zeros.bin")), zeros);
    window.yes = true;
    window.click("saveButton");
    window.click("saveButton");
    EXPECT_EQ(window.questions.size(), 2u) << "asked again after No, never after Yes";
    EXPECT_EQ(readWholeFile(dir.file("zeros.bin")), withFlag(zeros, 13, catalogFlag(101)));
}

TEST_F(EditorTest, ADroppedPatchSaysWhatItChangesAndUndoTakesItBack) {
    // The patch: Denmark's and Italy's flags and the nets, made on a copy.
    const std::string copy = writeImage("mod.bin", pristineImage());
    {
        ImageSession session(copy);
        GameImage game(session);
        game.writeFlag(13, unusualFlag());
        game.writeFlag(10, catalogFlag(120));
        game.setNets(NetPattern::Diamond);
        writeWholeFile(dir.file("mod.ppf"),
                       encodePpf3(netChanges(session.history(), session.file()), "mod"));
    }
    editor.onDrop(dir.file("mod.ppf"));
    EXPECT_EQ(window.questions,
              std::vector<std::string>{"Applicare la patch mod.ppf? Cambia: Italy, Denmark, reti"});
    EXPECT_EQ(window.takeMessage(), "Patch applicata: mod.ppf. Ctrl+Z la annulla.");
    EXPECT_EQ(image(), readWholeFile(copy));
    EXPECT_TRUE(window.checked("diamondNetsOption"));
    editor.onUndo();
    EXPECT_EQ(image(), pristineImage());
    window.messages.clear();

    // Over another change of Denmark's palette, the patch is refused by team and place.
    choose(13);
    window.click("saveButton");
    EXPECT_EQ(window.takeMessage(), text::kSaveDone);
    const Bytes saved = image();
    editor.onDrop(dir.file("mod.ppf"));
    EXPECT_NE(window.takeMessage().find("Denmark: tavolozza cambiata da un'altra modifica"),
              std::string::npos);
    EXPECT_EQ(image(), saved);
}

TEST_F(EditorTest, ADroppedImageOpensAndAFolderKeepsTheImageOpen) {
    editor.onDrop(dir.path().string());
    EXPECT_NE(window.takeMessage().find("non è un file immagine"), std::string::npos);
    EXPECT_TRUE(editor.hasImage());
    const std::string other = writeImage("other.bin", pristineImage());
    editor.onDrop(other);
    choose(13);
    window.click("saveButton");
    EXPECT_EQ(readWholeFile(other), withFlag(pristineImage(), 13, catalogFlag(101)));
    EXPECT_EQ(image(), pristineImage());
}

}  // namespace
}  // namespace tavrel::testing
