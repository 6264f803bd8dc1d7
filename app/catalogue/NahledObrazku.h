#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

// The picture preview: the picture at its natural size in a scrolling area.
class TFNahledObrazku final : public QDialog {
    Q_OBJECT
public:
    explicit TFNahledObrazku(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNahledObrazku)

    // The text shown after "Náhled obrázku: " in the caption.
    void SetCaption(const QString& text);
    void SetPicture(const QImage& picture);

private:
    QLabel* obrazek_;
};
