// MainWindow's controls made from the window's layout table, and their look: fonts, colours,
// focus order.
#include <initializer_list>
#include <stdexcept>
#include <string>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "editor/window_layout.h"
#include "game/team_table.h"
#include "main_window.h"

namespace tavrel {
namespace {

const QColor kNavy(0, 0, 128);
constexpr qreal kNormalPoints = 8.25;
constexpr qreal kSmallPoints = 6.75;
constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel: 2200 twips (the nets' button's left) is no whole number of
// pixels. Qt scales logical pixels on high-dpi screens, so the layout stays in proportion.
constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Widget>
Widget* child(const QWidget& window, std::string_view name) {
    auto* widget = window.findChild<Widget*>(qtText(name));
    if (widget == nullptr)
        throw std::logic_error("no control " + std::string(name) + " of the expected kind");
    return widget;
}

// The window's texts are set in Verdana; DejaVu Sans shares its proportions where Verdana is
// missing, which keeps every text inside its control.
QFont windowFont(qreal points, bool bold = false, bool italic = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void setNavy(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : roles) palette.setColor(role, kNavy);
    widget->setPalette(palette);
}

// Labels draw their text from the top: the small labels are barely taller than their font and
// would lose the tops of their letters if centred.
QLabel* makeLabel(QWidget* parent, const WindowControl& control) {
    auto* label = new QLabel(parent);
    // Plain text: the "&" above the pairing list is a character, never an access key.
    label->setTextFormat(Qt::PlainText);
    label->setText(qtText(control.text));
    const Qt::Alignment across =
        control.align == TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(across | Qt::AlignTop);
    return label;
}

QComboBox* makeComboBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Typing never adds a team, and no completion picks one behind the user's back.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

QWidget* makeControl(QWidget* parent, const WindowControl& control) {
    const QString text = qtText(control.text);
    switch (control.kind) {
        case ControlKind::Label:
            return makeLabel(parent, control);
        case ControlKind::ComboBox:
            return makeComboBox(parent);
        case ControlKind::TextBox:
            return new QLineEdit(text, parent);
        case ControlKind::Frame:
            return new QGroupBox(text, parent);
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            // A design's bitmap fills the picture, whatever its own size.
            picture->setScaledContents(true);
            return picture;
        }
        case ControlKind::Button:
            return new QPushButton(text, parent);
        case ControlKind::OptionButton:
            // Buttons sharing a parent are one exclusive group; neither net option is checked
            // until the image's net bytes or the user choose one.
            return new QRadioButton(text, parent);
        case ControlKind::ListBox:
            return new QListWidget(parent);
    }
    throw std::logic_error("a control of no known kind");
}

}  // namespace

void MainWindow::createControls() {
    setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
    for (const WindowControl& control : kWindowControls) {
        QWidget* parent = control.parent.empty() ? this : child<QWidget>(*this, control.parent);
        QWidget* widget = makeControl(parent, control);
        widget->setObjectName(qtText(control.name));
        widget->setGeometry(pixels(control.left), pixels(control.top), pixels(control.width),
                            pixels(control.height));
    }
    findControls();
    for (const Team& team : kTeams) teamList_->addItem(QString::fromUtf8(team.label));
    teamList_->setCurrentIndex(-1);
    teamList_->clearEditText();
    // Saving waits for a team to be chosen.
    saveButton_->setEnabled(false);
}

void MainWindow::findControls() {
    const auto find = [this]<typename Widget>(Widget*& member, const WindowControl& control) {
        member = child<Widget>(*this, control.name);
    };
    find(teamHeading_, windowControl("teamHeading"));
    find(teamList_, windowControl("teamList"));
    find(nameBox_, windowControl("nameBox"));
    find(preview_, windowControl("preview"));
    find(previewHeading_, windowControl("previewHeading"));
    find(numberSign_, windowControl("numberSign"));
    find(positionLabel_, windowControl("positionLabel"));
    find(backButton_, windowControl("backButton"));
    find(nextButton_, windowControl("nextButton"));
    find(saveButton_, windowControl("saveButton"));
    find(clearButton_, windowControl("clearButton"));
    find(importButton_, windowControl("importButton"));
    find(exportButton_, windowControl("exportButton"));
    find(openButton_, windowControl("openButton"));
    find(pairingHeading_, windowControl("pairingHeading"));
    find(pairingList_, windowControl("pairingList"));
    find(netsFrame_, windowControl("netsFrame"));
    find(plainNetsOption_, windowControl("plainNetsOption"));
    find(diamondNetsOption_, windowControl("diamondNetsOption"));
    find(applyNetsButton_, windowControl("applyNetsButton"));
    find(creditLabel_, windowControl("creditLabel"));
}

void MainWindow::setFonts() {
    setFont(windowFont(kNormalPoints));
    numberSign_->setFont(windowFont(kNormalPoints, true));
    positionLabel_->setFont(windowFont(kNormalPoints, true));
    creditLabel_->setFont(windowFont(kNormalPoints, true, true));
    for (QWidget* small : std::initializer_list<QWidget*>{netsFrame_, plainNetsOption_,
                                                          diamondNetsOption_, applyNetsButton_}) {
        small->setFont(windowFont(kSmallPoints));
    }
}

void MainWindow::setColours() {
    for (QWidget* label : {teamHeading_, previewHeading_, pairingHeading_, creditLabel_})
        setNavy(label, {QPalette::WindowText});
    // These two sit on the system's window (text field) background, not on the form's face.
    for (QLabel* label : {numberSign_, positionLabel_}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kNavy);
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
    setNavy(pairingList_, {QPalette::Text});
    // Group box titles draw in the Text colour under some styles, WindowText under others.
    setNavy(netsFrame_, {QPalette::WindowText, QPalette::Text});
    setNavy(plainNetsOption_, {QPalette::WindowText});
    setNavy(diamondNetsOption_, {QPalette::WindowText});
}

void MainWindow::orderFocus() {
    focusOrder_.clear();
    for (const std::size_t place : kFocusOrder)
        focusOrder_.push_back(child<QWidget>(*this, kWindowControls[place].name));
    for (std::size_t i = 1; i < focusOrder_.size(); ++i) {
        QWidget::setTabOrder(focusOrder_[i - 1], focusOrder_[i]);
    }
    teamList_->setFocus();
}

}  // namespace tavrel
