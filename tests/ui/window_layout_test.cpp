// frmFlag as it stands before any action: caption, icon, every control's kind, place, text,
// font and colour, the team list, the focus order and the controls' starting states.
#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "layout/team_table.h"
#include "window_icon.h"
#include "window_test_support.h"

using namespace tavrel;
using namespace tavrel::testing;

namespace {

const QColor kNavy(0, 0, 128);

QString textOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* list = qobject_cast<const QComboBox*>(widget))
        return list->currentText();
    return {};
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private:
    DialogScript script_;
    std::unique_ptr<frmFlag> window_;

private slots:
    void init() {
        script_ = {};
        window_ = makeWindow(script_);
    }
    void cleanup() { window_.reset(); }

    void captionSizeAndIcon() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("  tavrel"));
        QCOMPARE(window_->objectName(), QStringLiteral("frmFlag"));
        QCOMPARE(window_->minimumSize(), QSize(462, 359));
        QCOMPARE(window_->maximumSize(), QSize(462, 359));

        const QList<QSize> sizes = window_->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(16, 16)));
        for (const int size : {32, 16}) {
            // A white field, and a blue upright bar running the cloth's height left of centre.
            const QImage icon = windowIconImage(size);
            QCOMPARE(icon.size(), QSize(size, size));
            int uprightColumn = -1;
            for (int x = 0; x < size && uprightColumn < 0; ++x) {
                int blueRows = 0;
                for (int y = 0; y < size; ++y) blueRows += icon.pixelColor(x, y) == Qt::blue;
                if (blueRows >= size * 3 / 8)
                    uprightColumn = x;
            }
            QVERIFY2(uprightColumn > 0 && uprightColumn < size / 2,
                     qPrintable(QString::number(size)));
            int white = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) white += icon.pixelColor(x, y) == Qt::white;
            }
            QVERIFY(white > size * size / 8);
        }
    }

    void controlsStandWhereDesigned_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        // Pixels are the designed twips divided by 15; cmdReti's 2200 twips round to 147.
        struct Row {
            const char* name;
            const char* kind;
            const char* parent;
            QRect place;
            const char* text;
        };
        const Row rows[] = {
            {"Label1", "QLabel", "frmFlag", {52, 24, 121, 17}, "Squadra"},
            {"cboSeqSQ", "QComboBox", "frmFlag", {20, 48, 185, 21}, ""},
            {"txtSqHEX", "QLineEdit", "frmFlag", {48, 88, 129, 19}, ""},
            {"Frame1", "QGroupBox", "frmFlag", {288, 56, 113, 73}, ""},
            {"imgFlag", "QLabel", "Frame1", {32, 16, 49, 33}, ""},
            {"Label3", "QLabel", "frmFlag", {296, 32, 57, 17}, "Bandiera"},
            {"Label34", "QLabel", "frmFlag", {360, 32, 17, 11}, "N°"},
            {"lblPos", "QLabel", "frmFlag", {384, 32, 9, 13}, "1"},
            {"cmdBack", "QPushButton", "frmFlag", {264, 144, 73, 25}, "<---"},
            {"cmdNext", "QPushButton", "frmFlag", {344, 144, 73, 25}, "--->"},
            {"cmdSalva", "QPushButton", "frmFlag", {248, 184, 89, 25}, "Salva"},
            {"cmdNew", "QPushButton", "frmFlag", {344, 184, 89, 25}, "Clear"},
            {"cmdImp", "QPushButton", "frmFlag", {248, 216, 89, 25}, "Import"},
            {"cmdExport", "QPushButton", "frmFlag", {344, 216, 89, 25}, "Export"},
            {"cmdOpen", "QPushButton", "frmFlag", {280, 248, 121, 25}, "Apri Image CD"},
            {"Label4", "QLabel", "frmFlag", {16, 128, 201, 17}, "Abbinamenti Squadra & Bandiera"},
            {"listAbbin", "QListWidget", "frmFlag", {16, 152, 201, 199}, ""},
            {"fraReti", "QGroupBox", "frmFlag", {232, 280, 217, 49}, "Formato reti"},
            {"optNorm", "QRadioButton", "fraReti", {8, 24, 65, 13}, "Normali"},
            {"optRombi", "QRadioButton", "fraReti", {80, 24, 57, 13}, "Rombi"},
            {"cmdReti", "QPushButton", "fraReti", {147, 22, 57, 17}, "Modifica"},
            {"Label5", "QLabel", "frmFlag", {336, 336, 113, 17}, nullptr},  // credit: any line
        };
        for (const Row& row : rows) {
            QTest::newRow(row.name) << row.kind << row.parent << row.place
                                    << (row.text ? QString::fromUtf8(row.text) : QString());
        }
    }

    void controlsStandWhereDesigned() {
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        auto* widget = control(*window_, QTest::currentDataTag());
        QVERIFY(widget != nullptr);
        QVERIFY2(widget->inherits(kind.toLatin1().constData()), widget->metaObject()->className());
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), place);
        if (text.isNull()) {
            QVERIFY(!textOf(widget).isEmpty());
            QVERIFY(!textOf(widget).contains(QLatin1Char('\n')));
        } else {
            QCOMPARE(textOf(widget), text);
        }
    }

    void fontsAndColours_data() {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("navyRole");  // -1: the style's own colours
        const int text = QPalette::WindowText;
        // clang-format off
        QTest::newRow("Label1")    << 8.25 << false << false << text;
        QTest::newRow("cboSeqSQ")  << 8.25 << false << false << -1;
        QTest::newRow("txtSqHEX")  << 8.25 << false << false << -1;
        QTest::newRow("Label3")    << 8.25 << false << false << text;
        QTest::newRow("Label34")   << 8.25 << true  << false << text;
        QTest::newRow("lblPos")    << 8.25 << true  << false << text;
        QTest::newRow("cmdSalva")  << 8.25 << false << false << -1;
        QTest::newRow("cmdOpen")   << 8.25 << false << false << -1;
        QTest::newRow("Label4")    << 8.25 << false << false << text;
        QTest::newRow("listAbbin") << 8.25 << false << false << int(QPalette::Text);
        QTest::newRow("fraReti")   << 6.75 << false << false << text;
        QTest::newRow("optNorm")   << 6.75 << false << false << text;
        QTest::newRow("optRombi")  << 6.75 << false << false << text;
        QTest::newRow("cmdReti")   << 6.75 << false << false << -1;
        QTest::newRow("Label5")    << 8.25 << true  << true  << text;
        // clang-format on
    }

    void fontsAndColours() {
        QFETCH(qreal, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, navyRole);
        auto* widget = control(*window_, QTest::currentDataTag());
        QVERIFY(widget != nullptr);
        const QFontInfo font(widget->font());
        QVERIFY2(font.family() == "Verdana" || font.family() == "DejaVu Sans",
                 qPrintable(font.family()));
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
        if (navyRole >= 0) {
            QCOMPARE(widget->palette().color(QPalette::ColorRole(navyRole)), kNavy);
        }
    }

    void positionLabelsSitOnTheWindowBackground() {
        for (const char* name : {"Label34", "lblPos"}) {
            auto* label = control(*window_, name);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window),
                     window_->palette().color(QPalette::Base));
        }
    }

    void teamListOffersTheEightySixTeamsInOrder() {
        auto* list = control<QComboBox>(*window_, "cboSeqSQ");
        QCOMPARE(list->count(), 86);
        for (int team = 0; team < kTeamCount; ++team) {
            QCOMPARE(list->itemText(team), QString::fromUtf8(teamLabel(team)));
        }
        // Written out here as well, so that the table and the list cannot drift together.
        const std::pair<int, const char*> spotChecks[] = {
            {0, "Ireland"}, {4, "Portugal"},      {53, "Australia"},  {54, "Manchester"},
            {76, "Parma"},  {80, "Bayer Monaco"}, {85, "Boca Junior"}};
        for (const auto& [index, label] : spotChecks)
            QCOMPARE(list->itemText(index), QString::fromUtf8(label));

        QVERIFY(list->isEditable());
        QCOMPARE(list->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->currentText(), QString());
        QCOMPARE(window_->selectedTeamIndex(), -1);
    }

    void startsWithSalvaDisabledAndNoNetOption() {
        QVERIFY(!control(*window_, "cmdSalva")->isEnabled());
        for (const char* name :
             {"cboSeqSQ", "txtSqHEX", "cmdBack", "cmdNext", "cmdNew", "cmdImp", "cmdExport",
              "cmdOpen", "listAbbin", "optNorm", "optRombi", "cmdReti"}) {
            QVERIFY2(control(*window_, name)->isEnabled(), name);
        }
        auto* normali = control<QRadioButton>(*window_, "optNorm");
        auto* rombi = control<QRadioButton>(*window_, "optRombi");
        QVERIFY(!normali->isChecked());
        QVERIFY(!rombi->isChecked());
        QCOMPARE(control<QListWidget>(*window_, "listAbbin")->count(), 0);

        // One exclusive group: checking one clears the other, and no operation runs.
        window_->checkNetOption(NetOption::Rombi);
        window_->checkNetOption(NetOption::Normali);
        QVERIFY(normali->isChecked());
        QVERIFY(!rombi->isChecked());
        QVERIFY(window_->editor().state().netPattern.empty());
    }

    void onlyThePairingHeadingHoldsAnAmpersandAndNothingHasAnAccessKey() {
        auto* heading = control<QLabel>(*window_, "Label4");
        QCOMPARE(heading->textFormat(), Qt::PlainText);
        QVERIFY(heading->buddy() == nullptr);
        // Read as an access key, "& " would vanish and the text would draw narrower.
        const QString shown = QStringLiteral("Abbinamenti Squadra & Bandiera");
        QVERIFY(heading->sizeHint().width() >= heading->fontMetrics().horizontalAdvance(shown));

        for (const QWidget* widget : window_->findChildren<QWidget*>()) {
            if (widget == heading)
                continue;
            const QString text = textOf(widget);
            QVERIFY2(!text.contains(QLatin1Char('&')), qPrintable(widget->objectName()));
            QVERIFY(QKeySequence::mnemonic(text).isEmpty());
        }
    }

    void focusStartsOnTheTeamListAndTabFollowsTheDesignedOrder() {
        window_->showCentred();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const auto focused = [] {
            QWidget* widget = QApplication::focusWidget();
            // The editable team list's text field stands for the list itself.
            if (widget && qobject_cast<QComboBox*>(widget->parentWidget())) {
                widget = widget->parentWidget();
            }
            return widget ? widget->objectName() : QString();
        };
        const auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
        QCOMPARE(focused(), QStringLiteral("cboSeqSQ"));

        // "Salva" is skipped while disabled; both net options are stops of their own.
        const QStringList withoutSalva = {"txtSqHEX",  "cmdBack", "cmdNext",  "listAbbin",
                                          "cmdNew",    "optNorm", "optRombi", "cmdReti",
                                          "cmdExport", "cmdImp",  "cmdOpen",  "cboSeqSQ"};
        for (const QString& next : withoutSalva) {
            tab();
            QCOMPARE(focused(), next);
        }

        window_->enableSalva();
        window_->checkNetOption(NetOption::Rombi);
        for (const char* next : {"txtSqHEX", "cmdBack", "cmdNext", "cmdSalva", "listAbbin",
                                 "cmdNew", "optNorm", "optRombi", "cmdReti"}) {
            tab();
            QCOMPARE(focused(), QString::fromLatin1(next));
        }
        // Backwards the same way, and moving focus over the options checks neither.
        for (const char* previous : {"optRombi", "optNorm", "cmdNew", "listAbbin", "cmdSalva"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(focused(), QString::fromLatin1(previous));
        }
        QVERIFY(control<QRadioButton>(*window_, "optRombi")->isChecked());
    }

    void showsCentredOnTheScreen() {
        window_->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        const QPoint screenCentre = window_->screen()->availableGeometry().center();
        const QPoint windowCentre = window_->geometry().center();
        QVERIFY((screenCentre - windowCentre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
