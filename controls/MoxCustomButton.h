#pragma once

#include "MoxTypes.h"

#include <QList>
#include <QPixmap>
#include <QPushButton>

// The drawing shared by the shop's buttons: a coloured face with a bevel, an outline for the
// default or focused button, and a row of images from an image list beside the caption.
class TMoxCustomButton : public QPushButton {
    Q_OBJECT

public:
    TOptions options() const { return m_options; }
    void setOptions(TOptions options);
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    QList<QPixmap> images() const { return m_images; }
    void setImages(const QList<QPixmap>& images);
    // Numbers of the images to show, separated by any non-digit characters ("5 3", "5,3").
    QString imagesIndex() const { return m_imagesIndex; }
    void setImagesIndex(const QString& index);
    TImagesLayout imagesLayout() const { return m_imagesLayout; }
    void setImagesLayout(TImagesLayout layout);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    TMoxCustomButton(QSize designSize, QWidget* parent);

    virtual QColor faceColor() const = 0;
    virtual QColor captionColor() const = 0;

    QSize designSize() const { return m_designSize; }
    void setDesignSize(QSize size);
    bool looksPressed() const;

    void paintEvent(QPaintEvent* event) override;

private:
    QString paddedCaption() const;
    QList<QPixmap> shownImages() const;
    void drawFrame(QPainter& painter) const;
    void drawContent(QPainter& painter, QRect area) const;

    QSize m_designSize;
    TOptions m_options = cbDottedBox;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    QList<QPixmap> m_images;
    QString m_imagesIndex;
    TImagesLayout m_imagesLayout = imImageLeft;
};
