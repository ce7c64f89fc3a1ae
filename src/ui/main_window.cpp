// frmFlag: the controls, their look, their events, and the window services over them.
#include "main_window.h"

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <iterator>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include "control_layout.h"
#include "editor/messages.h"
#include "game/team_table.h"
#include "window_icon.h"

namespace tavrel {
namespace {

const QColor kNavy(0, 0, 128);
constexpr qreal kNormalPoints = 8.25;
constexpr qreal kSmallPoints = 6.75;

// The window was designed in Verdana; DejaVu Sans shares its proportions where Verdana is
// missing, which keeps every text inside its control.
QFont designFont(qreal points, bool bold = false, bool italic = false) {
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

// Labels draw their text from the top, as the window was designed: the small labels are
// barely taller than their font and would lose the tops of their letters if centred.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text,
                  Qt::Alignment horizontal) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // Plain text: the "&" above the pairing list is a character, never an access key.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
}

template <typename Widget>
Widget* makeNamed(QWidget* parent, const char* name, const QString& text = {}) {
    auto* widget = new Widget(text, parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

frmFlag::frmFlag(std::unique_ptr<WindowDialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : makeQtWindowDialogs()), editor_(*this) {
    setObjectName(QStringLiteral("frmFlag"));
    setWindowTitle(QStringLiteral("  tavrel"));
    setWindowIcon(makeWindowIcon());
    createControls();
    placeControls();
    setFonts();
    setColours();
    orderFocus();
    connectEvents();
}

frmFlag::~frmFlag() = default;

void frmFlag::createControls() {
    Label1 = makeLabel(this, "Label1", QStringLiteral("Squadra"), Qt::AlignHCenter);

    cboSeqSQ = new QComboBox(this);
    cboSeqSQ->setObjectName(QStringLiteral("cboSeqSQ"));
    cboSeqSQ->setEditable(true);
    // Typing never adds a team, and no completion picks one behind the user's back.
    cboSeqSQ->setInsertPolicy(QComboBox::NoInsert);
    cboSeqSQ->setCompleter(nullptr);
    for (const Team& team : kTeams) cboSeqSQ->addItem(QString::fromUtf8(team.label));
    cboSeqSQ->setCurrentIndex(-1);
    cboSeqSQ->clearEditText();

    txtSqHEX = new QLineEdit(this);
    txtSqHEX->setObjectName(QStringLiteral("txtSqHEX"));

    Frame1 = makeNamed<QGroupBox>(this, "Frame1");
    imgFlag = new QLabel(Frame1);
    imgFlag->setObjectName(QStringLiteral("imgFlag"));
    imgFlag->setScaledContents(true);

    Label3 = makeLabel(this, "Label3", QStringLiteral("Bandiera"), Qt::AlignHCenter);
    Label34 = makeLabel(this, "Label34", QStringLiteral("N°"), Qt::AlignLeft);
    lblPos = makeLabel(this, "lblPos", QStringLiteral("1"), Qt::AlignHCenter);

    cmdBack = makeNamed<QPushButton>(this, "cmdBack", QStringLiteral("<---"));
    cmdNext = makeNamed<QPushButton>(this, "cmdNext", QStringLiteral("--->"));
    cmdSalva = makeNamed<QPushButton>(this, "cmdSalva", QStringLiteral("Salva"));
    cmdSalva->setEnabled(false);
    cmdNew = makeNamed<QPushButton>(this, "cmdNew", QStringLiteral("Clear"));
    cmdImp = makeNamed<QPushButton>(this, "cmdImp", QStringLiteral("Import"));
    cmdExport = makeNamed<QPushButton>(this, "cmdExport", QStringLiteral("Export"));
    cmdOpen = makeNamed<QPushButton>(this, "cmdOpen", QStringLiteral("Apri Image CD"));

    Label4 = makeLabel(this, "Label4", QStringLiteral("Abbinamenti Squadra & Bandiera"),
                       Qt::AlignHCenter);
    listAbbin = new QListWidget(this);
    listAbbin->setObjectName(QStringLiteral("listAbbin"));

    fraReti = makeNamed<QGroupBox>(this, "fraReti", QStringLiteral("Formato reti"));
    // Buttons sharing a parent are one exclusive group; neither is checked until the image's
    // net bytes or the user choose one.
    optNorm = makeNamed<QRadioButton>(fraReti, "optNorm", QStringLiteral("Normali"));
    optRombi = makeNamed<QRadioButton>(fraReti, "optRombi", QStringLiteral("Rombi"));
    cmdReti = makeNamed<QPushButton>(fraReti, "cmdReti", QStringLiteral("Modifica"));

    Label5 = makeLabel(this, "Label5", QStringLiteral("Tavrel 1.0"), Qt::AlignLeft);
}

void frmFlag::placeControls() {
    setFixedSize(kClientSize);
    for (const ControlPlace& place : kControlPlaces) {
        const QString name = QString::fromLatin1(place.name.data(), place.name.size());
        auto* control = findChild<QWidget*>(name);
        Q_ASSERT(control != nullptr);
        control->setGeometry(pixelRect(place));
    }
}

void frmFlag::setFonts() {
    setFont(designFont(kNormalPoints));
    Label34->setFont(designFont(kNormalPoints, true));
    lblPos->setFont(designFont(kNormalPoints, true));
    Label5->setFont(designFont(kNormalPoints, true, true));
    for (QWidget* small : std::initializer_list<QWidget*>{fraReti, optNorm, optRombi, cmdReti}) {
        small->setFont(designFont(kSmallPoints));
    }
}

void frmFlag::setColours() {
    for (QWidget* label : {Label1, Label3, Label4, Label5}) setNavy(label, {QPalette::WindowText});
    // These two sit on the system's window (text field) background, not on the form's face.
    for (QLabel* label : {Label34, lblPos}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kNavy);
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
    setNavy(listAbbin, {QPalette::Text});
    // Group box titles draw in the Text colour under some styles, WindowText under others.
    setNavy(fraReti, {QPalette::WindowText, QPalette::Text});
    setNavy(optNorm, {QPalette::WindowText});
    setNavy(optRombi, {QPalette::WindowText});
}

void frmFlag::orderFocus() {
    focusOrder_ = {cboSeqSQ, txtSqHEX, cmdBack, cmdNext,   cmdSalva, listAbbin, cmdNew,
                   optNorm,  optRombi, cmdReti, cmdExport, cmdImp,   cmdOpen};
    for (std::size_t i = 1; i < focusOrder_.size(); ++i) {
        QWidget::setTabOrder(focusOrder_[i - 1], focusOrder_[i]);
    }
    cboSeqSQ->setFocus();
}

// Qt lets Tab stop at one button of an option group only; the window's order visits both
// net options, so Tab walks the designed order itself.
bool frmFlag::focusNextPrevChild(bool next) {
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

void frmFlag::connectEvents() {
    connect(cboSeqSQ, &QComboBox::activated, this, [this](int index) {
        chosenTeam_ = index;
        run(&FlagEditor::onTeamChosen);
    });
    // Typing into the list chooses nothing: Qt's editable combo box would pick the item whose
    // label was typed once editing ends, and a save would then go to a team nobody chose.
    QObject::disconnect(cboSeqSQ->lineEdit(), SIGNAL(editingFinished()), cboSeqSQ, nullptr);
    connect(cboSeqSQ->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (chosenTeam_ >= 0 && text != cboSeqSQ->itemText(chosenTeam_))
            chosenTeam_ = -1;
    });
    const auto onClick = [this](QAbstractButton* button, void (FlagEditor::*operation)()) {
        // clicked, not toggled: an option checked by the editor must not run its operation
        // a second time.
        connect(button, &QAbstractButton::clicked, this, [this, operation] { run(operation); });
    };
    onClick(cmdBack, &FlagEditor::onBack);
    onClick(cmdNext, &FlagEditor::onNext);
    onClick(cmdSalva, &FlagEditor::onSave);
    onClick(cmdNew, &FlagEditor::onClear);
    onClick(cmdImp, &FlagEditor::onImport);
    onClick(cmdExport, &FlagEditor::onExport);
    onClick(cmdOpen, &FlagEditor::onOpenImage);
    onClick(optNorm, &FlagEditor::onPlainNetsChosen);
    onClick(optRombi, &FlagEditor::onDiamondNetsChosen);
    onClick(cmdReti, &FlagEditor::onApplyNets);
    // The image's last change taken back; the window has no control for it.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { run(&FlagEditor::onUndo); });
}

void frmFlag::run(void (FlagEditor::*operation)()) {
    if (endStatus_)
        return;
    // Nothing may leave a Qt event handler by an exception; the editor reports image and file
    // failures itself, and anything else ends here, reported rather than lost.
    try {
        (editor_.*operation)();
    } catch (const std::exception& error) {
        showMessage(error.what(), MessageIcon::Critical);
    }
}

void frmFlag::showCentred() {
    // The client area is centred: a window manager's frame is not known before the window
    // is mapped, and without one (a bare X server) there is none.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
    cboSeqSQ->setFocus();
    show();
}

void frmFlag::closeEvent(QCloseEvent* event) {
    if (!endStatus_)
        editor_.onClose();
    event->accept();
}

QWidget* frmFlag::dialogParent() {
    return isVisible() ? this : nullptr;
}

// --- WindowServices -------------------------------------------------------------------------

int frmFlag::selectedTeamIndex() const {
    return chosenTeam_;
}

std::string frmFlag::teamListText() const {
    return cboSeqSQ->currentText().toStdString();
}

void frmFlag::clearTeamListText() {
    cboSeqSQ->setCurrentIndex(-1);
    cboSeqSQ->clearEditText();
    chosenTeam_ = -1;
}

std::string frmFlag::nameBoxText() const {
    return txtSqHEX->text().toStdString();
}

void frmFlag::setNameBoxText(const std::string& text) {
    txtSqHEX->setText(QString::fromStdString(text));
}

void frmFlag::enableSave() {
    cmdSalva->setEnabled(true);
}

std::string frmFlag::positionLabel() const {
    return lblPos->text().toStdString();
}

void frmFlag::setPositionLabel(const std::string& text) {
    lblPos->setText(QString::fromStdString(text));
    // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
    lblPos->resize(lblPos->fontMetrics().horizontalAdvance(lblPos->text()) + 1, lblPos->height());
}

void frmFlag::showPreview(int catalogId) {
    QPixmap picture(QStringLiteral(":/previews/%1.bmp").arg(catalogId));
    if (picture.isNull()) {
        // A design without a bitmap still shows that something is there to save.
        picture = QPixmap(imgFlag->size());
        picture.fill(palette().color(QPalette::Mid));
    }
    imgFlag->setPixmap(picture);
}

int frmFlag::pairingCount() const {
    return listAbbin->count();
}

std::string frmFlag::pairingLine(int index) const {
    const QListWidgetItem* item = listAbbin->item(index);
    return item ? item->text().toStdString() : std::string();
}

void frmFlag::removePairingLine(int index) {
    delete listAbbin->takeItem(index);
}

void frmFlag::addPairingLine(const std::string& line) {
    listAbbin->addItem(QString::fromStdString(line));
}

void frmFlag::clearPairingList() {
    listAbbin->clear();
}

void frmFlag::checkNetOption(NetPattern pattern) {
    (pattern == NetPattern::Plain ? optNorm : optRombi)->setChecked(true);
}

void frmFlag::showMessage(const std::string& text, MessageIcon icon) {
    dialogs_->showMessage(dialogParent(), QString::fromUtf8(text::kTitle),
                          QString::fromStdString(text), icon);
}

bool frmFlag::askYesNo(const std::string& question) {
    return dialogs_->askYesNo(dialogParent(), QString::fromUtf8(text::kTitle),
                              QString::fromStdString(question));
}

std::string frmFlag::askOpenFileName(const OpenDialogRequest& request) {
    FileDialogSetup setup;
    for (const FileFilter& filter : request.filters) setup.nameFilters << qtNameFilter(filter);
    setup.folder = QFile::decodeName(request.initialFolder.c_str());
    if (!request.clearFileName)
        setup.fileName = lastFileName_;
    const QString chosen = dialogs_->askOpenFileName(dialogParent(), setup);
    if (!chosen.isEmpty())
        lastFileName_ = chosen;
    // File names go to the system in its own encoding, not necessarily UTF-8.
    return QFile::encodeName(chosen).toStdString();
}

std::string frmFlag::programFolder() const {
    return QFile::encodeName(dialogs_->programFolder()).toStdString();
}

void frmFlag::endProgram(int exitCode) {
    endStatus_ = exitCode;
    hide();
    QCoreApplication::exit(exitCode);
}

}  // namespace tavrel
