// TableWindow as its editor sees it: what the editor shows in the controls, and the dialogs it
// asks for.
#include <algorithm>
#include <stdexcept>

#include <QAbstractButton>
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
#include <QScreen>

#include "editor/messages.h"
#include "table_window.h"

namespace tavrel {
namespace {

QStringList qtLines(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) shown << QString::fromStdString(line);
    return shown;
}

// The picture at the screen's scaling, each of its pixels enlarged to whole device pixels
// without blending, so that it stays crisp.
QPixmap crispPixmap(const FlagPicture& image, qreal scaling) {
    const QImage pixels(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                        image.height, image.width * static_cast<int>(sizeof(Rgba8)),
                        QImage::Format_RGBA8888);
    const int factor = std::max(1, qRound(scaling));
    QPixmap shown =
        QPixmap::fromImage(pixels.scaled(image.width * factor, image.height * factor,
                                         Qt::IgnoreAspectRatio, Qt::FastTransformation));
    shown.setDevicePixelRatio(factor);
    return shown;
}

QColor qtColour(Rgb8 colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace

class TableWindow::Services final : public WindowServices {
public:
    explicit Services(TableWindow& window) : window_(window) {}

    void setText(std::size_t control, const std::string& text) override {
        const QString shown = QString::fromStdString(text);
        QWidget* widget = window_.controls_.at(control);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(shown);
            // Sized to its text from a fixed left edge.
            if (window_.table_[control].align == TextAlign::FitText)
                label->resize(label->fontMetrics().horizontalAdvance(shown) + kFitSlack,
                              label->height());
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            list->setCurrentIndex(-1);
            list->setEditText(shown);
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setText(shown);
            // A read-only text is read from its start.
            if (box->isReadOnly())
                box->home(false);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(shown);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            frame->setTitle(shown);
        } else {
            throw std::logic_error("a control without a text");
        }
    }

    void setLines(std::size_t control, const std::vector<std::string>& lines) override {
        QWidget* widget = window_.controls_.at(control);
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            list->clear();
            list->addItems(qtLines(lines));
        } else if (auto* dropDown = qobject_cast<QComboBox*>(widget)) {
            dropDown->clear();
            dropDown->addItems(qtLines(lines));
            dropDown->setCurrentIndex(-1);
            dropDown->clearEditText();
        } else {
            throw std::logic_error("a control without lines");
        }
    }

    void check(std::size_t control) override {
        qobject_cast<QAbstractButton*>(window_.controls_.at(control))->setChecked(true);
    }

    void setEnabled(std::size_t control, bool enabled) override {
        window_.controls_.at(control)->setEnabled(enabled);
    }

    void showPicture(std::size_t control, int picture) override {
        auto* shown = qobject_cast<QLabel*>(window_.controls_.at(control));
        QPixmap bitmap(QStringLiteral(":/previews/%1.bmp").arg(picture));
        if (bitmap.isNull()) {
            // A design without a bitmap still shows that something is there to save.
            bitmap = QPixmap(shown->size());
            bitmap.fill(window_.palette().color(QPalette::Mid));
        }
        shown->setPixmap(bitmap);
    }

    void showImage(std::size_t control, const FlagPicture& image) override {
        QWidget* widget = window_.controls_.at(control);
        const QPixmap shown =
            image.pixels.empty() ? QPixmap() : crispPixmap(image, window_.devicePixelRatioF());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setIcon(QIcon(shown));
            button->setIconSize(QSize(image.width, image.height));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setScaledContents(false);
            label->setAlignment(Qt::AlignCenter);
            label->setPixmap(shown);
        } else {
            throw std::logic_error("a control without a picture");
        }
    }

    void setChecked(std::size_t control, bool checked) override {
        qobject_cast<QAbstractButton*>(window_.controls_.at(control))->setChecked(checked);
    }

    void setToolTip(std::size_t control, const std::string& text) override {
        window_.controls_.at(control)->setToolTip(QString::fromStdString(text));
    }

    std::optional<Rgb8> askColour(Rgb8 initial, const std::string& title) override {
        const std::optional<QColor> chosen = window_.dialogs_->askColour(
            dialogParent(), qtColour(initial), QString::fromStdString(title));
        if (!chosen)
            return std::nullopt;
        return Rgb8{static_cast<std::uint8_t>(chosen->red()),
                    static_cast<std::uint8_t>(chosen->green()),
                    static_cast<std::uint8_t>(chosen->blue())};
    }

    void present() override {
        if (!window_.isVisible()) {
            const QWidget* owner = window_.parentWidget();
            const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
            if (owner && screen) {
                const QRect work = screen->availableGeometry();
                const QRect beside = owner->geometry();
                const ScreenRect place = placeBeside(
                    {beside.x(), beside.y(), beside.width(), beside.height()}, window_.width(),
                    window_.height(), {work.x(), work.y(), work.width(), work.height()});
                window_.move(place.left, place.top);
            }
            if (!window_.focusOrder_.empty())
                window_.focusOrder_.front()->setFocus();
            window_.show();
        }
        window_.raise();
        window_.activateWindow();
    }

    void showMessage(const std::string& text, MessageIcon icon) override {
        window_.dialogs_->showMessage(dialogParent(), QString::fromUtf8(text::kTitle),
                                      QString::fromStdString(text), icon);
    }

    bool askYesNo(const std::string& question) override {
        return window_.dialogs_->askYesNo(dialogParent(), QString::fromUtf8(text::kTitle),
                                          QString::fromStdString(question));
    }

    std::string askOpenFileName(const OpenDialogRequest& request) override {
        FileDialogSetup setup;
        for (const FileFilter& filter : request.filters) setup.nameFilters << qtNameFilter(filter);
        // File names go to and from the system in its own encoding, not necessarily UTF-8.
        setup.folder = QFile::decodeName(request.initialFolder.c_str());
        setup.fileName = QFile::decodeName(request.fileName.c_str());
        return QFile::encodeName(window_.dialogs_->askOpenFileName(dialogParent(), setup))
            .toStdString();
    }

    std::string programFolder() const override {
        return QFile::encodeName(window_.dialogs_->programFolder()).toStdString();
    }

    void endProgram(int exitCode) override {
        window_.hide();
        QCoreApplication::exit(exitCode);
    }

private:
    QWidget* dialogParent() { return window_.isVisible() ? &window_ : nullptr; }

    TableWindow& window_;
};

std::unique_ptr<WindowServices> TableWindow::makeServices() {
    return std::make_unique<Services>(*this);
}

}  // namespace tavrel
