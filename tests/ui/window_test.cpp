// MainWindow offscreen, for what only it can see: how it starts, where Tab goes, the preview
// drawn, the flag window's preview, typing in the team list, the documents folder, and nothing
// run once it is ending. The real-window test presses the buttons on real images and drops
// files on the window.
// Before Qt's headers, whose "slots" is a word of the drawings' too.
#include "catalog/flag_draft.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <deque>

#include "editor/flag_images.h"
#include "editor/main_window_table.h"
#include "editor/messages.h"
#include "main_window.h"
#include "test_files.h"
#include "test_image.h"
#include "window_dialogs.h"

using namespace tavrel;
using namespace tavrel::testing;

namespace {

// What the test answers and what the window asked; owned by the test, outliving the window.
struct DialogScript {
    std::deque<QString> fileAnswers;  // one per file dialog; none left cancels
    std::vector<QString> messages;    // the texts of message boxes and questions, in order
    QString programFolder;
    int unansweredFileDialogs = 0;
};

// The window's dialogs answered from the script: Yes to every question, no colour chosen.
class ScriptedDialogs final : public WindowDialogs {
public:
    explicit ScriptedDialogs(DialogScript& script) : script_(script) {}

    void showMessage(QWidget*, const QString&, const QString& text, MessageIcon) override {
        script_.messages.push_back(text);
    }
    bool askYesNo(QWidget*, const QString&, const QString& question) override {
        script_.messages.push_back(question);
        return true;
    }
    QString askOpenFileName(QWidget*, const FileDialogSetup&) override {
        if (script_.fileAnswers.empty()) {
            ++script_.unansweredFileDialogs;
            return {};
        }
        QString answer = script_.fileAnswers.front();
        script_.fileAnswers.pop_front();
        return answer;
    }
    std::optional<QColor> askColour(QWidget*, const QColor&, const QString&) override {
        return std::nullopt;
    }
    QString programFolder() const override { return script_.programFolder; }

private:
    DialogScript& script_;
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;
    std::string image_;
    DialogScript script_;
    std::unique_ptr<MainWindow> window_;

    template <typename Control = QWidget>
    Control* find(const char* name) {
        return window_->findChild<Control*>(QString::fromLatin1(name));
    }
    void press(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
    QString focused() const {
        QWidget* widget = QApplication::focusWidget();
        // The editable team list's text field stands for the list itself.
        if (widget && qobject_cast<QComboBox*>(widget->parentWidget()))
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QString();
    }

    // Start-up as the program runs it: the image dialog answered, then the window shown.
    bool startUp() {
        script_.fileAnswers.push_back(QString::fromStdString(image_));
        if (window_->editor().startUp())
            return false;
        window_->showCentred();
        return QTest::qWaitForWindowActive(window_.get());
    }

private slots:
    void init() {
        dir_ = std::make_unique<TempDir>();
        image_ = dir_->file("game.bin");
        writeWholeFile(image_, pristineImage());
        script_ = {};
        script_.programFolder = QString::fromStdString(dir_->path().string());
        window_ = std::make_unique<MainWindow>(std::make_unique<ScriptedDialogs>(script_));
    }

    void cleanup() {
        QCOMPARE(script_.unansweredFileDialogs, 0);
        window_.reset();
        dir_.reset();
    }

    void startsWithItsCaptionTheTeamListFocusedAndSaveDisabled() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("  tavrel"));
        QVERIFY(startUp());
        QCOMPARE(focused(), QStringLiteral("teamList"));
        QCOMPARE(find<QComboBox>("teamList")->count(), kTeamCount);
        QVERIFY(!find("saveButton")->isEnabled());
        QVERIFY(find<QRadioButton>("plainNetsOption")->isChecked());  // the image's nets are 00 65

        // "Salva" is skipped while disabled; both net options are stops of their own.
        for (const char* next :
             {"nameBox", "backButton", "nextButton", "pairingList", "clearButton",
              "plainNetsOption", "diamondNetsOption", "applyNetsButton", "exportButton",
              "importButton", "openButton", "teamList"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), QString::fromLatin1(next));
        }
        window_->services().setEnabled(main_window::kSaveButton, true);
        for (const char* next : {"nameBox", "backButton", "nextButton", "saveButton"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), QString::fromLatin1(next));
        }
    }

    // What the real-window test cannot read from outside: the preview drawn from the design's
    // bitmap. The preview takes the focus for the arrow keys; a double click opens the flag
    // window, whose preview shows the drawn pixels exactly, in their channels' order.
    void thePreviewStepsAndOpensTheFlagWindow() {
        QVERIFY(startUp());
        auto* preview = find<QLabel>("preview");
        QTest::mouseClick(preview, Qt::LeftButton);
        QTest::keyClick(preview, Qt::Key_Right);
        QCOMPARE(find<QLabel>("positionLabel")->text(), QStringLiteral("2"));
        QCOMPARE(
            preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            QImage(QStringLiteral(":/previews/102.bmp")).convertToFormat(QImage::Format_RGB32));
        QTest::mouseDClick(preview, Qt::LeftButton);
        QVERIFY(window_->flagWindow() && window_->flagWindow()->isVisible());
        const FlagPicture drawn = onCheckerboard(*FlagDraft::ofDesign(102).picture(4));
        const QImage expected(reinterpret_cast<const uchar*>(drawn.pixels.data()), drawn.width,
                              drawn.height, QImage::Format_RGBA8888);
        const auto* flagPreview = window_->flagWindow()->findChild<QLabel*>("preview");
        QCOMPARE(flagPreview->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }

    void typingInTheTeamListChoosesNoTeam() {
        QVERIFY(startUp());
        auto* list = find<QComboBox>("teamList");
        list->setCurrentIndex(10);  // Italy, as a click on its line chooses it
        emit list->activated(10);
        QCOMPARE(window_->editor().state().team, 10);
        list->lineEdit()->setFocus();
        list->lineEdit()->end(false);
        QTest::keyClicks(list->lineEdit(), "x");
        QCOMPARE(window_->editor().state().team, -1);
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        QCOMPARE(list->count(), kTeamCount);

        // Typing a label exactly chooses nothing either, on Return or when focus moves on.
        press("clearButton");
        list->lineEdit()->setFocus();
        QTest::keyClicks(list->lineEdit(), "Italy");
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        find("saveButton")->setFocus();
        QCOMPARE(window_->editor().state().team, -1);
        press("saveButton");
        QCOMPARE(script_.messages, std::vector{QString::fromUtf8(text::kNoTeamSelected)});
        QVERIFY(readWholeFile(image_) == pristineImage());
    }

    void anInstalledProgramWorksInTheUsersDocuments() {
        QCOMPARE(workingFolder(script_.programFolder), script_.programFolder);
        qputenv("HOME", dir_->path().c_str());
        qputenv("XDG_CONFIG_HOME", dir_->file("config").c_str());
        const QString documents = workingFolder(QStringLiteral("/nonexistent/bin"));
        QCOMPARE(documents, script_.programFolder + QStringLiteral("/Documents/Tavrel"));
        QVERIFY(QDir(documents).exists());
    }

    void nothingRunsOnceTheProgramIsEnding() {
        QVERIFY(startUp());
        // Reopened with no write permission left, the image is refused and the program ends.
        std::filesystem::permissions(image_, std::filesystem::perms::owner_read);
        script_.fileAnswers.push_back(QString::fromStdString(image_));
        press("openButton");
        QVERIFY(!window_->isVisible());
        find<QPushButton>("nextButton")->click();
        find<QPushButton>("applyNetsButton")->click();
        QCOMPARE(find<QLabel>("positionLabel")->text(), QStringLiteral("1"));
        QCOMPARE(script_.messages.size(), 1u);  // the refusal alone
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
