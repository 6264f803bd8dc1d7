#include "FilmyObrazek.h"

#include "PictureFrame.h"

#include <QPainter>

namespace {

const QString kDeletedText = QStringLiteral("Obrázek je vymazán");

// Bold red text turned to 335 degrees, drawn over the picture without hiding it.
class TDeletedOverlay final : public QWidget {
public:
    explicit TDeletedOverlay(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        font.setPixelSize(std::max(16, width() / 11));
        painter.setFont(font);
        painter.setPen(Qt::red);
        painter.translate(width() / 2.0, height() / 2.0);
        // 335 degrees counter-clockwise, as the font escapement counts, is 25 clockwise here.
        painter.rotate(360.0 - 335.0);
        painter.drawText(QRectF(-width(), -height() / 2.0, 2.0 * width(), height()), Qt::AlignCenter,
                         kDeletedText);
    }
};

} // namespace

TFilmyObrazek::TFilmyObrazek(QWidget* parent)
    : QWidget(parent), frame_(new TPictureFrame(this)), overlay_(new TDeletedOverlay(this)) {
    overlay_->hide();
    connect(frame_, &TPictureFrame::doubleClicked, this, &TFilmyObrazek::doubleClicked);
}

void TFilmyObrazek::SetPicture(const QImage& picture) {
    frame_->SetPicture(picture);
}

const QImage& TFilmyObrazek::Picture() const {
    return frame_->Picture();
}

void TFilmyObrazek::SetDeleted(bool deleted) {
    overlay_->setVisible(deleted);
    overlay_->raise();
}

QString TFilmyObrazek::OverlayText() const {
    return overlay_->isVisibleTo(this) ? kDeletedText : QString();
}

void TFilmyObrazek::resizeEvent(QResizeEvent*) {
    frame_->setGeometry(rect());
    overlay_->setGeometry(rect());
}
