// The real Qt dialogs behind frmFlag's services: message boxes as the program words them, and
// the file dialog with the editor's filters, folder and answers.
#include <functional>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "editor/messages.h"
#include "main_window.h"
#include "test_files.h"
#include "window_dialogs.h"

using namespace tavrel;

namespace {

// Answers the next modal dialog of type `Dialog` once it is up; the call that opened it then
// returns. The answer must always close the dialog, so it records and never asserts.
template <typename Dialog>
void whenModal(std::function<void(Dialog*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

// The names the dialog lists in its folder under the selected filter, folders left out.
QStringList listedFiles(QFileDialog* dialog) {
    auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
    if (!view || !view->model())
        return {};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        const QString name = view->model()->index(row, 0, root).data().toString();
        if (name.contains(QLatin1Char('.')))
            names << name;
    }
    names.sort();
    return names;
}

const std::vector<FileFilter> kImageFilters = {{"Image CDRWIN (*.bin)", "*.bin"},
                                               {" Image CloneCD (*.img)", "*.img"},
                                               {" All Files (*.*)", "*.*"}};

}  // namespace

class WindowDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void filterStringsKeepDescriptionsThatNameTheirPattern() {
        const std::pair<FileFilter, QString> cases[] = {
            {{"Image CDRWIN (*.bin)", "*.bin"}, "Image CDRWIN (*.bin)"},
            {{" Image CloneCD (*.img)", "*.img"}, " Image CloneCD (*.img)"},
            {{"*.flg", "*.flg"}, "*.flg"},
            {{"Bandiere", "*.flg"}, "Bandiere (*.flg)"},
        };
        for (const auto& [filter, expected] : cases) QCOMPARE(qtNameFilter(filter), expected);
    }

    void messageBoxesCarryTheTitleTheIconAndOneOkButton_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("two lines")
            << QString::fromUtf8(text::kTypeOnly) << int(MessageIcon::Information);
        QTest::newRow("refused") << QString::fromUtf8(text::kAccessRefused)
                                 << int(MessageIcon::Critical);
    }

    void messageBoxesCarryTheTitleTheIconAndOneOkButton() {
        QFETCH(QString, text);
        QFETCH(int, icon);
        frmFlag window;
        QString title, shown;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        qsizetype buttons = 0;
        bool okIsTheButton = false;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            shown = box->text();
            shownIcon = box->icon();
            format = box->textFormat();
            buttons = box->buttons().size();
            okIsTheButton = box->standardButtons() == QMessageBox::Ok;
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        window.showMessage(text.toStdString(), MessageIcon(icon));

        QCOMPARE(title, QStringLiteral("Tavrel"));
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shownIcon, MessageIcon(icon) == MessageIcon::Critical ? QMessageBox::Critical
                                                                       : QMessageBox::Information);
        QCOMPARE(buttons, qsizetype(1));
        QVERIFY(okIsTheButton);
    }

    void fileDialogOffersTheFiltersInTheProgramFolderAndReturnsTheChoice() {
        testing::TempDir folder;
        for (const char* name : {"game.bin", "copy.img", "notes.txt"}) {
            testing::writeWholeFile(folder.file(name), std::string_view("x"));
        }
        frmFlag window;
        bool ownDialog = false;
        QStringList filters;
        QString selectedFilter, directory, fileName;
        QStringList listedFirst, listedSecond;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
            filters = dialog->nameFilters();
            selectedFilter = dialog->selectedNameFilter();
            directory = dialog->directory().absolutePath();
            // The filters must select files, however Qt reads their descriptions.
            (void)QTest::qWaitFor([&] { return !listedFiles(dialog).isEmpty(); }, 10000);
            listedFirst = listedFiles(dialog);
            dialog->selectNameFilter(dialog->nameFilters().value(1));
            (void)QTest::qWaitFor([&] { return listedFiles(dialog) != listedFirst; }, 10000);
            listedSecond = listedFiles(dialog);
            // As a user types the name; QFileDialog::accept then checks that it exists.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(QString::fromStdString(folder.file("copy.img")));
            }
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible())
                dialog->reject();  // never leave the test hanging
        });
        const std::string chosen =
            window.askOpenFileName({kImageFilters, folder.path().string(), true});

        QVERIFY(ownDialog);
        QCOMPARE(filters.size(), 3);
        QVERIFY(filters[0] == "Image CDRWIN (*.bin)");
        QCOMPARE(selectedFilter, filters[0]);
        QCOMPARE(directory, QString::fromStdString(folder.path().string()));
        QCOMPARE(listedFirst, QStringList{"game.bin"});
        QCOMPARE(listedSecond, QStringList{"copy.img"});
        QCOMPARE(chosen, folder.file("copy.img"));
    }

    void cancellingTheFileDialogReturnsAnEmptyName() {
        testing::TempDir folder;
        frmFlag window;
        whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(window.askOpenFileName({{{"*.flg", "*.flg"}}, folder.path().string(), true}),
                 std::string());
    }
};

QTEST_MAIN(WindowDialogsTest)
#include "window_dialogs_test.moc"
