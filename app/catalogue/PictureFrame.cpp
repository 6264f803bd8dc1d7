#include "PictureFrame.h"

#include "GlobFunc.h"

#include <QLabel>
#include <QPixmap>

void ShowPictureInFrame(QLabel& view, const QImage& picture, const QRect& frame) {
    if (picture.isNull()) {
        view.clear();
        return;
    }
    const QRect place = FitPicture(picture.width(), picture.height(), frame, view.geometry());
    view.setGeometry(place);
    view.setPixmap(
        QPixmap::fromImage(picture.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

TPictureFrame::TPictureFrame(QWidget* parent) : QFrame(parent), view_(new QLabel(this)) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    view_->setObjectName(QStringLiteral("ImageObrazek"));
    view_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPictureFrame::SetPicture(const QImage& picture) {
    picture_ = picture;
    Fit();
}

void TPictureFrame::Fit() {
    ShowPictureInFrame(*view_, picture_, rect());
}

void TPictureFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Fit();
}

void TPictureFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    QFrame::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
