#include "ObrPlocha.h"

#include "Pictures.h"

#include <QMouseEvent>
#include <QPainter>

TObrPlocha::TObrPlocha(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageObrazek"));
    setCursor(Qt::CrossCursor);
    resize(0, 0);
}

void TObrPlocha::SetPicture(const QImage& picture) {
    picture_ = picture;
    resize(picture.size());
    update();
}

QRect TObrPlocha::Selection() const {
    return SelectionRect(start_, end_);
}

void TObrPlocha::ClearSelection() {
    start_ = end_ = QPoint();
    selecting_ = false;
    update();
}

void TObrPlocha::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull())
        painter.drawImage(0, 0, picture_);
    if (!HasSelection())
        return;
    // Inverting keeps the rectangle visible on any picture, dark or light.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const QRect selection = Selection();
    painter.drawRect(selection.adjusted(0, 0, -1, -1));
}

void TObrPlocha::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    selecting_ = true;
    start_ = end_ = event->position().toPoint();
    update();
}

void TObrPlocha::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_)
        return;
    end_ = event->position().toPoint();
    update();
}

void TObrPlocha::mouseReleaseEvent(QMouseEvent* event) {
    if (!selecting_ || event->button() != Qt::LeftButton)
        return;
    end_ = event->position().toPoint();
    selecting_ = false;
    update();
    emit selectionFinished();
}
