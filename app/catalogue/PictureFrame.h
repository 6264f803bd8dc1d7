#pragma once

#include <QFrame>
#include <QImage>

class QLabel;

// Moves the view to where FitPicture places the picture inside the frame and shows the picture
// there, scaled; a view without a picture stays where it is.
void ShowPictureInFrame(QLabel& view, const QImage& picture, const QRect& frame);

// A framed picture (customer photo, covers): fitted into the frame again whenever it resizes.
class TPictureFrame final : public QFrame {
    Q_OBJECT
public:
    explicit TPictureFrame(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TPictureFrame)

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    void Clear() { SetPicture({}); }

signals:
    void doubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Fit();

    QImage picture_;
    QLabel* view_;
};
