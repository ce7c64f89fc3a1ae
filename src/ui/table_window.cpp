// TableWindow's controls made from the table with their look (fonts, colours), the user's
// actions on them reported, Tab's walk through the focus order, showing and closing.
#include "table_window.h"

#include <algorithm>
#include <stdexcept>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include "window_icon.h"

namespace tavrel {
namespace {

constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel: 2200 twips (the nets' button's left) is no whole number of
// pixels. Qt scales logical pixels on high-dpi screens, so the layout stays in proportion.
constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The window's texts are set in Verdana; DejaVu Sans shares its proportions where Verdana is
// missing, which keeps every text inside its control. Values in columns take DejaVu Sans Mono,
// or the system's fixed-pitch font.
QFont faceFont(Face face) {
    const FaceStyle style = faceStyle(face);
    QFont font;
    if (style.fixedPitch) {
        font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    } else {
        font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

// Labels draw their text from the top: the small labels are barely taller than their font and
// would lose the tops of their letters if centred.
QLabel* makeLabel(QWidget* parent, const WindowControl& control) {
    auto* label = new QLabel(parent);
    // Plain text: a "&" is a character, never an access key.
    label->setTextFormat(Qt::PlainText);
    label->setText(qtText(control.text));
    const Qt::Alignment across = centresText(control.align) ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(across | Qt::AlignTop);
    return label;
}

QComboBox* makeComboBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Typing never adds an item, and no completion picks one behind the user's back.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // Nor does ending an edit: Qt's editable combo box would choose the item whose text was
    // typed once editing ends, an item nobody chose.
    QObject::disconnect(box->lineEdit(), SIGNAL(editingFinished()), box, nullptr);
    return box;
}

QWidget* makeControl(QWidget* parent, const WindowControl& control) {
    const QString text = qtText(control.text);
    switch (control.kind) {
        case ControlKind::Label:
            return makeLabel(parent, control);
        case ControlKind::ComboBox:
            return makeComboBox(parent);
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(text, parent);
            box->setReadOnly(control.reports == Reports::Nothing);
            return box;
        }
        case ControlKind::Frame:
            return new QGroupBox(text, parent);
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            // A bitmap fills the picture, whatever its own size.
            picture->setScaledContents(true);
            return picture;
        }
        case ControlKind::Button:
            return new QPushButton(text, parent);
        case ControlKind::OptionButton:
            // Buttons sharing a parent are one exclusive group; none is checked until the
            // editor or the user checks one.
            return new QRadioButton(text, parent);
        case ControlKind::ListBox:
            return new QListWidget(parent);
        case ControlKind::CheckBox:
            // Checked by the editor; a click toggles it, and the editor then says what it shows.
            return new QCheckBox(text, parent);
    }
    throw std::logic_error("a control of no known kind");
}

}  // namespace

TableWindow::TableWindow(const WindowTable& table, std::shared_ptr<WindowDialogs> dialogs,
                         QWidget* owner)
    : QWidget(owner, owner != nullptr ? Qt::Window : Qt::WindowFlags()),
      table_(table),
      dialogs_(dialogs ? std::move(dialogs) : makeQtWindowDialogs()),
      services_(makeServices()) {
    setWindowTitle(qtText(table.caption));
    setWindowIcon(makeWindowIcon());
    setFont(faceFont(Face::Normal));
    createControls();
    connectCommands();
}

TableWindow::~TableWindow() = default;

void TableWindow::createControls() {
    setFixedSize(pixels(table_.width), pixels(table_.height));
    for (std::size_t row = 0; row < table_.controls.size(); ++row) {
        const WindowControl& control = table_[row];
        QWidget* parent = control.parent.empty() ? this : controls_[table_.row(control.parent)];
        QWidget* widget = makeControl(parent, control);
        widget->setObjectName(qtText(control.name));
        widget->setGeometry(pixels(control.left), pixels(control.top), pixels(control.width),
                            pixels(control.height));
        controls_.push_back(widget);
        setLook(row);
        connectEvents(row);
    }
    for (const std::size_t row : table_.focusOrder()) focusOrder_.push_back(controls_[row]);
    for (std::size_t i = 1; i < focusOrder_.size(); ++i)
        QWidget::setTabOrder(focusOrder_[i - 1], focusOrder_[i]);
}

void TableWindow::setLook(std::size_t row) {
    const WindowControl& control = table_[row];
    QWidget* widget = controls_[row];
    if (control.face != Face::Normal)
        widget->setFont(faceFont(control.face));
    if (control.ink == Ink::System)
        return;
    const QColor navy(kNavy.red, kNavy.green, kNavy.blue);
    QPalette palette = widget->palette();
    // A list draws its lines in the Text colour; a frame's title takes Text under some styles,
    // WindowText under others; the rest draw in WindowText.
    if (control.kind != ControlKind::ListBox)
        palette.setColor(QPalette::WindowText, navy);
    if (control.kind == ControlKind::ListBox || control.kind == ControlKind::Frame)
        palette.setColor(QPalette::Text, navy);
    if (control.ink == Ink::NavyOnField) {
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

void TableWindow::connectEvents(std::size_t row) {
    const Reports reported = table_[row].reports;
    QWidget* widget = controls_[row];
    // clicked, not toggled: an option checked by the editor is no user's click.
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button && reports(reported, Reports::Clicks))
        connect(button, &QAbstractButton::clicked, this,
                [this, row] { report([row](WindowEvents& e) { e.clicked(row); }); });
    auto* list = qobject_cast<QComboBox*>(widget);
    if (list && reports(reported, Reports::Choices))
        connect(list, &QComboBox::activated, this, [this, row](int item) {
            report([row, item](WindowEvents& e) { e.chosen(row, item); });
        });
    auto* edit = list ? list->lineEdit() : qobject_cast<QLineEdit*>(widget);
    if (edit && reports(reported, Reports::Edits))
        connect(edit, &QLineEdit::textEdited, this, [this, row](const QString& text) {
            report([row, &text](WindowEvents& e) { e.edited(row, text.toStdString()); });
        });
    if (reports(reported, Reports::DoubleClicks) || reports(reported, Reports::Arrows))
        widget->installEventFilter(this);
    // A picture takes the focus when clicked, so that the arrow keys reach it.
    if (reports(reported, Reports::Arrows) && widget->focusPolicy() == Qt::NoFocus)
        widget->setFocusPolicy(Qt::ClickFocus);
    if (reports(reported, Reports::Menu))
        offerCommands(edit ? edit : widget);
}

// Qt lets Tab stop at one button of an option group only; the table's order may visit them
// all, so Tab walks that order itself.
bool TableWindow::focusNextPrevChild(bool next) {
    QWidget* current = QApplication::focusWidget();
    auto at = focusOrder_.end();
    for (; current != nullptr && current != this; current = current->parentWidget()) {
        at = std::find(focusOrder_.begin(), focusOrder_.end(), current);
        if (at != focusOrder_.end())
            break;
    }
    if (at == focusOrder_.end())
        return QWidget::focusNextPrevChild(next);
    const auto count = static_cast<std::ptrdiff_t>(focusOrder_.size());
    std::ptrdiff_t index = at - focusOrder_.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        index = (index + (next ? 1 : count - 1)) % count;
        QWidget* candidate = focusOrder_[static_cast<std::size_t>(index)];
        if (candidate->isEnabled() && candidate->isVisible()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void TableWindow::showCentred() {
    // The client area is centred: a window manager's frame is not known before the window
    // is mapped, and without one (a bare X server) there is none.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
    if (!focusOrder_.empty())
        focusOrder_.front()->setFocus();
    show();
}

void TableWindow::closeEvent(QCloseEvent* event) {
    if (events_ != nullptr)
        events_->closed();
    event->accept();
}

}  // namespace tavrel
