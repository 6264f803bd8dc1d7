#pragma once

#include <QImage>
#include <QWidget>

// The picture area of the acquisition dialog: the picture at its own size and the clerk's
// selection, a dotted rectangle drawn by inverting what lies under it.
class TObrPlocha final : public QWidget {
    Q_OBJECT
public:
    explicit TObrPlocha(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TObrPlocha)

    const QImage& Picture() const { return picture_; }
    // Shows the picture and sizes the area to it.
    void SetPicture(const QImage& picture);

    // The selected rectangle with its corners ordered.
    QRect Selection() const;
    // A selection counts once any of its coordinates is not zero.
    bool HasSelection() const { return !start_.isNull() || !end_.isNull(); }
    void ClearSelection();

signals:
    void selectionFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QPoint start_;
    QPoint end_;
    bool selecting_ = false;
};
