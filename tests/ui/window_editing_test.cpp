// frmFlag driven end to end on a real image file: start-up through the image dialog, a team
// chosen from the list, the buttons pressed, and the image compared byte for byte afterwards.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "editor/messages.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"
#include "raw_image_builder.h"
#include "test_files.h"
#include "window_test_support.h"

using namespace tavrel;
using namespace tavrel::testing;

namespace {

// Where the game keeps things, written out here rather than taken from the program's tables.
constexpr std::int64_t kTypeCopies[] = {1929004, 2005412, 2328060, 4904664, 5711640};

int slotOf(int team) {
    return team < 54 ? team : team + 9;
}

constexpr int kItaly = 10;
constexpr int kBayer = 80;  // a club whose palette runs across a sector's end
constexpr std::uint8_t kBayerType = 0x1C;
const Bytes kBayerPalette = {0x01, 0x80, 0x23, 0x45, 0x67, 0x09, 0xAB, 0x0C, 0xEF, 0x10,
                             0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A,
                             0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24};

// The image as it must be after `team` got the flag (type, palette).
void putFlag(Bytes& image, int team, std::uint8_t type, const Bytes& palette) {
    for (const std::int64_t copy : kTypeCopies) image[copy + slotOf(team)] = type;
    std::int32_t position = 0;
    OffColor(team, position);
    std::size_t next = 0;
    for (const ByteRun& run : paletteRuns(position)) {
        for (std::int64_t i = 0; i < run.length; ++i)
            image[run.position - 1 + i] = palette.at(next++);
    }
}

}  // namespace

class WindowEditingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;
    std::string image_;
    Bytes pristine_;
    DialogScript script_;
    std::unique_ptr<frmFlag> window_;

    template <typename Control = QWidget>
    Control* find(const char* name) {
        return control<Control>(*window_, name);
    }
    void press(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
    Bytes imageNow() const { return readWholeFile(image_); }
    QString lastMessage() const {
        return script_.messages.empty() ? QString() : script_.messages.back().text;
    }

    // The design's bitmap from the program's resources, stretched over the preview.
    bool showsPreview(int catalogId) {
        auto* preview = find<QLabel>("imgFlag");
        const QImage expected(QStringLiteral(":/previews/%1.bmp").arg(catalogId));
        return preview->hasScaledContents() && !expected.isNull() &&
               preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
                   expected.convertToFormat(QImage::Format_RGB32);
    }

    // Start-up as the program runs it: the image dialog answered, then the window shown.
    bool startUp() {
        script_.fileAnswers.push_back(QString::fromStdString(image_));
        if (window_->editor().startUp())
            return false;
        window_->showCentred();
        return QTest::qWaitForWindowExposed(window_.get());
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        image_ = dir_->file("game.bin");
        build::RawImageBuilder builder;
        builder.setNameBytes(kItaly, build::encodeName("Italy"));
        builder.setNameBytes(kBayer, build::encodeName("Bayer"));
        builder.setTypeByteAllCopies(slotOf(kBayer), kBayerType);
        builder.setPalette(kBayer, kBayerPalette);
        builder.setNetBytes(0x00, 0x65);
        builder.writeTo(image_);
        pristine_ = readWholeFile(image_);

        script_ = {};
        script_.programFolder = QString::fromStdString(dir_->path().string());
        window_ = makeWindow(script_);
    }

    void cleanup() {
        QCOMPARE(script_.unansweredFileDialogs, 0);
        window_.reset();
        dir_.reset();
    }

    void salvaWritesTheShownDesignIntoTheChosenTeamAndClearKeepsItEnabled() {
        QVERIFY(startUp());
        QVERIFY(chooseTeam(*window_, "Italy"));
        QCOMPARE(window_->selectedTeamIndex(), kItaly);
        QCOMPARE(find<QLineEdit>("txtSqHEX")->text(), QStringLiteral("Italy"));
        QVERIFY(find("cmdSalva")->isEnabled());

        press("cmdNext");
        QCOMPARE(find<QLabel>("lblPos")->text(), QStringLiteral("2"));
        QVERIFY(showsPreview(102));
        press("cmdSalva");
        QCOMPARE(script_.messages.size(), std::size_t(1));
        QCOMPARE(script_.messages[0].title, QStringLiteral("Tavrel"));
        QCOMPARE(script_.messages[0].text, QString::fromUtf8(text::kSaveDone));
        QCOMPARE(script_.messages[0].icon, MessageIcon::Information);
        auto* pairing = find<QListWidget>("listAbbin");
        QCOMPARE(pairing->count(), 1);
        QCOMPARE(pairing->item(0)->text(), QStringLiteral("Italy Bandiera N° 2"));

        const std::string_view record = catalogRecord(102);
        Bytes expected = pristine_;
        putFlag(expected, kItaly, fromByteText(typeCodeOf(record)).at(0),
                fromByteText(colourFieldOf(record)));
        QVERIFY(imageNow() == expected);

        press("cmdNew");
        QVERIFY(find("cmdSalva")->isEnabled());
        QCOMPARE(find<QComboBox>("cboSeqSQ")->currentText(), QString());
        QCOMPARE(window_->selectedTeamIndex(), -1);
        QCOMPARE(find<QLineEdit>("txtSqHEX")->text(), QString());
        QCOMPARE(pairing->count(), 0);
        QCOMPARE(find<QLabel>("lblPos")->text(), QStringLiteral("1"));
        QVERIFY(showsPreview(101));
        QVERIFY(imageNow() == expected);
    }

    void exportedFlagImportsIntoAnotherTeam() {
        QVERIFY(startUp());
        QVERIFY(chooseTeam(*window_, "Bayer Monaco"));
        QCOMPARE(find<QLineEdit>("txtSqHEX")->text(), QStringLiteral("Bayer"));
        press("cmdExport");
        QCOMPARE(lastMessage(), QString::fromUtf8(text::kExportDone));
        const std::string flagFile = dir_->file("Flag_Bayer.flg");
        const std::string line = "1C" + trimBlanks(toByteText(kBayerPalette)) + "\r\n";
        QVERIFY(readWholeFile(flagFile) == Bytes(line.begin(), line.end()));
        QVERIFY(imageNow() == pristine_);

        QVERIFY(chooseTeam(*window_, "Italy"));
        script_.fileAnswers.push_back(QString());  // cancelled first: nothing happens
        press("cmdImp");
        QCOMPARE(script_.messages.size(), std::size_t(1));
        QVERIFY(imageNow() == pristine_);

        script_.fileAnswers.push_back(QString::fromStdString(flagFile));
        press("cmdImp");
        QCOMPARE(script_.fileRequests.back().nameFilters, QStringList{"*.flg"});
        QCOMPARE(script_.fileRequests.back().folder, script_.programFolder);
        QCOMPARE(lastMessage(), QString::fromUtf8(text::kSaveDone));
        Bytes expected = pristine_;
        putFlag(expected, kItaly, kBayerType, kBayerPalette);
        QVERIFY(imageNow() == expected);
        QCOMPARE(find<QListWidget>("listAbbin")->count(), 0);
    }

    void typingInTheTeamListNeverAddsATeamAndLeavesNoneSelected() {
        QVERIFY(startUp());
        auto* list = find<QComboBox>("cboSeqSQ");
        QVERIFY(chooseTeam(*window_, "Italy"));
        QCOMPARE(window_->selectedTeamIndex(), kItaly);

        list->lineEdit()->setFocus();
        list->lineEdit()->end(false);
        QTest::keyClicks(list->lineEdit(), "x");
        QCOMPARE(list->currentText(), QStringLiteral("Italyx"));
        QCOMPARE(window_->selectedTeamIndex(), -1);
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        list->lineEdit()->selectAll();
        QTest::keyClicks(list->lineEdit(), "Atlantis");
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        QCOMPARE(list->count(), kTeamCount);
        QCOMPARE(list->findText("Atlantis"), -1);
        QCOMPARE(window_->selectedTeamIndex(), -1);

        // Typing a label exactly chooses nothing either, on Return or when focus moves on.
        press("cmdNew");
        list->lineEdit()->setFocus();
        QTest::keyClicks(list->lineEdit(), "Italy");
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        find("cmdSalva")->setFocus();
        QCOMPARE(window_->selectedTeamIndex(), -1);
        QCOMPARE(find<QLineEdit>("txtSqHEX")->text(), QString());

        // With no team selected, "Salva" refuses and writes nothing.
        press("cmdSalva");
        QCOMPARE(lastMessage(), QString::fromUtf8(text::kNoTeamSelected));
        QCOMPARE(find<QListWidget>("listAbbin")->count(), 0);
        QVERIFY(imageNow() == pristine_);
    }

    void nothingRunsOnceTheProgramIsEnding() {
        QVERIFY(startUp());
        window_->endProgram(1);
        QCOMPARE(window_->endStatus(), std::optional<int>(1));
        QVERIFY(!window_->isVisible());
        find<QPushButton>("cmdNext")->click();
        find<QPushButton>("cmdReti")->click();
        QCOMPARE(find<QLabel>("lblPos")->text(), QStringLiteral("1"));
        QVERIFY(script_.messages.empty());
    }
};

QTEST_MAIN(WindowEditingTest)
#include "window_editing_test.moc"
