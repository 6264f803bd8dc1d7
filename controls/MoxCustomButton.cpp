#include "MoxCustomButton.h"

#include "MoxColors.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyleOption>

#include <algorithm>

namespace {

const QColor Outline{64, 64, 64};
const QColor Shadow{128, 128, 128};
const QColor Light{255, 255, 255};
constexpr int ImageGap = 4;
constexpr int ContentMargin = 4;
constexpr int TextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

TMoxCustomButton::TMoxCustomButton(QSize designSize, QWidget* parent)
    : QPushButton(parent), m_designSize(designSize) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(designSize);
}

void TMoxCustomButton::setOptions(TOptions options) {
    m_options = options;
    update();
}

void TMoxCustomButton::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TMoxCustomButton::setImages(const QList<QPixmap>& images) {
    m_images = images;
    updateGeometry();
    update();
}

void TMoxCustomButton::setImagesIndex(const QString& index) {
    m_imagesIndex = index;
    updateGeometry();
    update();
}

void TMoxCustomButton::setImagesLayout(TImagesLayout layout) {
    m_imagesLayout = layout;
    updateGeometry();
    update();
}

void TMoxCustomButton::setDesignSize(QSize size) {
    m_designSize = size;
    resize(sizeHint());
    updateGeometry();
}

QSize TMoxCustomButton::sizeHint() const {
    return m_designSize.expandedTo(minimumSizeHint());
}

QSize TMoxCustomButton::minimumSizeHint() const {
    const QSize text = fontMetrics().size(TextFlags, paddedCaption());
    QSize images;
    for (const QPixmap& image : shownImages())
        images = {images.width() + image.width(), std::max(images.height(), image.height())};
    const int gap = images.isEmpty() || text.isEmpty() ? 0 : ImageGap;
    const QSize content =
        m_imagesLayout == imImageLeft
            ? QSize(images.width() + gap + text.width(), std::max(images.height(), text.height()))
            : QSize(std::max(images.width(), text.width()), images.height() + gap + text.height());
    return content + QSize(2 * ContentMargin, 2 * ContentMargin);
}

bool TMoxCustomButton::looksPressed() const {
    if (m_options & cbViewLikePressDown)
        return true;
    if (m_options & cbViewLikePressUp)
        return false;
    return isDown() || ((m_options & cbLikeButtonDown) && isChecked());
}

QString TMoxCustomButton::paddedCaption() const {
    const QString blanks(isEnabled() ? 2 : 3, u' ');
    if (m_alignment & Qt::AlignLeft)
        return blanks + text();
    if (m_alignment & Qt::AlignRight)
        return text() + blanks;
    return text();
}

QList<QPixmap> TMoxCustomButton::shownImages() const {
    static const QRegularExpression separators(QStringLiteral("\\D+"));
    QList<QPixmap> shown;
    for (const QString& number : m_imagesIndex.split(separators, Qt::SkipEmptyParts)) {
        const qsizetype index = number.toInt();
        if (index < m_images.size())
            shown.append(m_images.at(index));
    }
    return shown;
}

void TMoxCustomButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), faceColor());
    drawFrame(painter);
    QRect area = rect().adjusted(ContentMargin, ContentMargin, -ContentMargin, -ContentMargin);
    if (looksPressed())
        area.translate(1, 1);
    drawContent(painter, area);
    if ((m_options & cbDottedBox) && hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void TMoxCustomButton::drawFrame(QPainter& painter) const {
    QRect edge = rect().adjusted(0, 0, -1, -1);
    if (isDefault() || hasFocus()) {
        painter.setPen(Outline);
        painter.drawRect(edge);
        edge.adjust(1, 1, -1, -1);
    }
    const bool pressed = looksPressed();
    const auto bevel = [&painter](QRect r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    if (m_options & cbLiteButton) {
        bevel(edge, pressed ? Outline : Light, pressed ? Light : Outline);
        return;
    }
    if (pressed) {
        bevel(edge, Outline, Light);
        bevel(edge.adjusted(1, 1, -1, -1), Shadow, faceColor());
    } else {
        bevel(edge, Light, Outline);
        bevel(edge.adjusted(1, 1, -1, -1), faceColor().lighter(115), Shadow);
    }
}

void TMoxCustomButton::drawContent(QPainter& painter, QRect area) const {
    QList<QPixmap> images = shownImages();
    if (!isEnabled()) {
        QStyleOption option;
        option.initFrom(this);
        for (QPixmap& image : images)
            image = style()->generatedIconPixmap(QIcon::Disabled, image, &option);
    }
    const QString caption = paddedCaption();
    const QSize text = caption.isEmpty() ? QSize() : painter.fontMetrics().size(TextFlags, caption);
    int imagesWidth = 0;
    int imagesHeight = 0;
    for (const QPixmap& image : images) {
        imagesWidth += image.width();
        imagesHeight = std::max(imagesHeight, image.height());
    }
    const int gap = images.isEmpty() || text.isEmpty() ? 0 : ImageGap;

    const auto alignedX = [this, area](int width) {
        if (m_alignment & Qt::AlignLeft)
            return area.left();
        if (m_alignment & Qt::AlignRight)
            return area.right() + 1 - width;
        return area.left() + (area.width() - width) / 2;
    };
    const auto drawImages = [&painter, &images](int x, int y, int height) {
        for (const QPixmap& image : images) {
            painter.drawPixmap(x, y + (height - image.height()) / 2, image);
            x += image.width();
        }
    };

    QPoint textAt;
    if (m_imagesLayout == imImageLeft) {
        const int x = alignedX(imagesWidth + gap + text.width());
        drawImages(x, area.top(), area.height());
        textAt = {x + imagesWidth + gap, area.top() + (area.height() - text.height()) / 2};
    } else {
        const int blockHeight = imagesHeight + gap + text.height();
        const int top = area.top() + (area.height() - blockHeight) / 2;
        const int imagesTop = m_imagesLayout == imImageTop ? top : top + text.height() + gap;
        const int textTop = m_imagesLayout == imImageTop ? top + imagesHeight + gap : top;
        drawImages(alignedX(imagesWidth), imagesTop, imagesHeight);
        textAt = {alignedX(text.width()), textTop};
    }
    painter.setPen(captionColor());
    painter.drawText(QRect(textAt, text), TextFlags, caption);
}
