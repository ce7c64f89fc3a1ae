// MainWindow: the controls, their look, their events, and the window services over them.
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

MainWindow::MainWindow(std::unique_ptr<WindowDialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : makeQtWindowDialogs()), editor_(*this) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("  tavrel"));
    setWindowIcon(makeWindowIcon());
    createControls();
    placeControls();
    setFonts();
    setColours();
    orderFocus();
    connectEvents();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    teamHeading_ = makeLabel(this, "teamHeading", QStringLiteral("Squadra"), Qt::AlignHCenter);

    teamList_ = new QComboBox(this);
    teamList_->setObjectName(QStringLiteral("teamList"));
    teamList_->setEditable(true);
    // Typing never adds a team, and no completion picks one behind the user's back.
    teamList_->setInsertPolicy(QComboBox::NoInsert);
    teamList_->setCompleter(nullptr);
    for (const Team& team : kTeams) teamList_->addItem(QString::fromUtf8(team.label));
    teamList_->setCurrentIndex(-1);
    teamList_->clearEditText();

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("nameBox"));

    previewFrame_ = makeNamed<QGroupBox>(this, "previewFrame");
    preview_ = new QLabel(previewFrame_);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setScaledContents(true);

    previewHeading_ =
        makeLabel(this, "previewHeading", QStringLiteral("Bandiera"), Qt::AlignHCenter);
    numberSign_ = makeLabel(this, "numberSign", QStringLiteral("N°"), Qt::AlignLeft);
    positionLabel_ = makeLabel(this, "positionLabel", QStringLiteral("1"), Qt::AlignHCenter);

    backButton_ = makeNamed<QPushButton>(this, "backButton", QStringLiteral("<---"));
    nextButton_ = makeNamed<QPushButton>(this, "nextButton", QStringLiteral("--->"));
    saveButton_ = makeNamed<QPushButton>(this, "saveButton", QStringLiteral("Salva"));
    saveButton_->setEnabled(false);
    clearButton_ = makeNamed<QPushButton>(this, "clearButton", QStringLiteral("Clear"));
    importButton_ = makeNamed<QPushButton>(this, "importButton", QStringLiteral("Import"));
    exportButton_ = makeNamed<QPushButton>(this, "exportButton", QStringLiteral("Export"));
    openButton_ = makeNamed<QPushButton>(this, "openButton", QStringLiteral("Apri Image CD"));

    pairingHeading_ = makeLabel(this, "pairingHeading",
                                QStringLiteral("Abbinamenti Squadra & Bandiera"), Qt::AlignHCenter);
    pairingList_ = new QListWidget(this);
    pairingList_->setObjectName(QStringLiteral("pairingList"));

    netsFrame_ = makeNamed<QGroupBox>(this, "netsFrame", QStringLiteral("Formato reti"));
    // Buttons sharing a parent are one exclusive group; neither is checked until the image's
    // net bytes or the user choose one.
    plainNetsOption_ =
        makeNamed<QRadioButton>(netsFrame_, "plainNetsOption", QStringLiteral("Normali"));
    diamondNetsOption_ =
        makeNamed<QRadioButton>(netsFrame_, "diamondNetsOption", QStringLiteral("Rombi"));
    applyNetsButton_ =
        makeNamed<QPushButton>(netsFrame_, "applyNetsButton", QStringLiteral("Modifica"));

    creditLabel_ = makeLabel(this, "creditLabel", QStringLiteral("Tavrel 1.0"), Qt::AlignLeft);
}

void MainWindow::placeControls() {
    setFixedSize(kClientSize);
    for (const ControlPlace& place : kControlPlaces) {
        const QString name = QString::fromLatin1(place.name.data(), place.name.size());
        auto* control = findChild<QWidget*>(name);
        Q_ASSERT(control != nullptr);
        control->setGeometry(pixelRect(place));
    }
}

void MainWindow::setFonts() {
    setFont(designFont(kNormalPoints));
    numberSign_->setFont(designFont(kNormalPoints, true));
    positionLabel_->setFont(designFont(kNormalPoints, true));
    creditLabel_->setFont(designFont(kNormalPoints, true, true));
    for (QWidget* small : std::initializer_list<QWidget*>{netsFrame_, plainNetsOption_,
                                                          diamondNetsOption_, applyNetsButton_}) {
        small->setFont(designFont(kSmallPoints));
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
    focusOrder_ = {teamList_,          nameBox_,         backButton_,   nextButton_,
                   saveButton_,        pairingList_,     clearButton_,  plainNetsOption_,
                   diamondNetsOption_, applyNetsButton_, exportButton_, importButton_,
                   openButton_};
    for (std::size_t i = 1; i < focusOrder_.size(); ++i) {
        QWidget::setTabOrder(focusOrder_[i - 1], focusOrder_[i]);
    }
    teamList_->setFocus();
}

// Qt lets Tab stop at one button of an option group only; the window's order visits both
// net options, so Tab walks the designed order itself.
bool MainWindow::focusNextPrevChild(bool next) {
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

void MainWindow::connectEvents() {
    connect(teamList_, &QComboBox::activated, this, [this](int index) {
        chosenTeam_ = index;
        run(&FlagEditor::onTeamChosen);
    });
    // Typing into the list chooses nothing: Qt's editable combo box would pick the item whose
    // label was typed once editing ends, and a save would then go to a team nobody chose.
    QObject::disconnect(teamList_->lineEdit(), SIGNAL(editingFinished()), teamList_, nullptr);
    connect(teamList_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (chosenTeam_ >= 0 && text != teamList_->itemText(chosenTeam_))
            chosenTeam_ = -1;
    });
    const auto onClick = [this](QAbstractButton* button, void (FlagEditor::*operation)()) {
        // clicked, not toggled: an option checked by the editor must not run its operation
        // a second time.
        connect(button, &QAbstractButton::clicked, this, [this, operation] { run(operation); });
    };
    onClick(backButton_, &FlagEditor::onBack);
    onClick(nextButton_, &FlagEditor::onNext);
    onClick(saveButton_, &FlagEditor::onSave);
    onClick(clearButton_, &FlagEditor::onClear);
    onClick(importButton_, &FlagEditor::onImport);
    onClick(exportButton_, &FlagEditor::onExport);
    onClick(openButton_, &FlagEditor::onOpenImage);
    onClick(plainNetsOption_, &FlagEditor::onPlainNetsChosen);
    onClick(diamondNetsOption_, &FlagEditor::onDiamondNetsChosen);
    onClick(applyNetsButton_, &FlagEditor::onApplyNets);
    // The image's last change taken back; the window has no control for it.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { run(&FlagEditor::onUndo); });
}

void MainWindow::run(void (FlagEditor::*operation)()) {
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

void MainWindow::showCentred() {
    // The client area is centred: a window manager's frame is not known before the window
    // is mapped, and without one (a bare X server) there is none.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
    teamList_->setFocus();
    show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!endStatus_)
        editor_.onClose();
    event->accept();
}

QWidget* MainWindow::dialogParent() {
    return isVisible() ? this : nullptr;
}

// --- WindowServices -------------------------------------------------------------------------

int MainWindow::selectedTeamIndex() const {
    return chosenTeam_;
}

std::string MainWindow::teamListText() const {
    return teamList_->currentText().toStdString();
}

void MainWindow::clearTeamListText() {
    teamList_->setCurrentIndex(-1);
    teamList_->clearEditText();
    chosenTeam_ = -1;
}

std::string MainWindow::nameBoxText() const {
    return nameBox_->text().toStdString();
}

void MainWindow::setNameBoxText(const std::string& text) {
    nameBox_->setText(QString::fromStdString(text));
}

void MainWindow::enableSave() {
    saveButton_->setEnabled(true);
}

std::string MainWindow::positionLabel() const {
    return positionLabel_->text().toStdString();
}

void MainWindow::setPositionLabel(const std::string& text) {
    positionLabel_->setText(QString::fromStdString(text));
    // Sized to its text from a fixed left edge; one pixel beyond the advance, as "1" had.
    positionLabel_->resize(
        positionLabel_->fontMetrics().horizontalAdvance(positionLabel_->text()) + 1,
        positionLabel_->height());
}

void MainWindow::showPreview(int catalogId) {
    QPixmap picture(QStringLiteral(":/previews/%1.bmp").arg(catalogId));
    if (picture.isNull()) {
        // A design without a bitmap still shows that something is there to save.
        picture = QPixmap(preview_->size());
        picture.fill(palette().color(QPalette::Mid));
    }
    preview_->setPixmap(picture);
}

int MainWindow::pairingCount() const {
    return pairingList_->count();
}

std::string MainWindow::pairingLine(int index) const {
    const QListWidgetItem* item = pairingList_->item(index);
    return item ? item->text().toStdString() : std::string();
}

void MainWindow::removePairingLine(int index) {
    delete pairingList_->takeItem(index);
}

void MainWindow::addPairingLine(const std::string& line) {
    pairingList_->addItem(QString::fromStdString(line));
}

void MainWindow::clearPairingList() {
    pairingList_->clear();
}

void MainWindow::checkNetOption(NetPattern pattern) {
    (pattern == NetPattern::Plain ? plainNetsOption_ : diamondNetsOption_)->setChecked(true);
}

void MainWindow::showMessage(const std::string& text, MessageIcon icon) {
    dialogs_->showMessage(dialogParent(), QString::fromUtf8(text::kTitle),
                          QString::fromStdString(text), icon);
}

bool MainWindow::askYesNo(const std::string& question) {
    return dialogs_->askYesNo(dialogParent(), QString::fromUtf8(text::kTitle),
                              QString::fromStdString(question));
}

std::string MainWindow::askOpenFileName(const OpenDialogRequest& request) {
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

std::string MainWindow::programFolder() const {
    return QFile::encodeName(dialogs_->programFolder()).toStdString();
}

void MainWindow::endProgram(int exitCode) {
    endStatus_ = exitCode;
    hide();
    QCoreApplication::exit(exitCode);
}

}  // namespace tavrel
