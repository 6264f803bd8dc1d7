#pragma once

#include <QImage>
#include <QWidget>

class TPictureFrame;

// The shown picture of the pictures page; a stored picture marked for deletion carries the
// overlay "Obrázek je vymazán" until the save.
class TFilmyObrazek final : public QWidget {
    Q_OBJECT
public:
    explicit TFilmyObrazek(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFilmyObrazek)

    void SetPicture(const QImage& picture);
    const QImage& Picture() const;
    void SetDeleted(bool deleted);
    // The overlay text while it is shown, else empty.
    QString OverlayText() const;

signals:
    void doubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPictureFrame* frame_;
    QWidget* overlay_;
};
