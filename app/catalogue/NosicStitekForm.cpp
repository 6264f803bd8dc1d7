#include "NosicStitekForm.h"

#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MoxButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

TNosicStitekNahled::TNosicStitekNahled(const TLabelLayout& layout, QWidget* parent)
    : QWidget(parent), layout_(layout) {
    setObjectName(QStringLiteral("QRStitek"));
    setFixedSize(sizeHint());
}

void TNosicStitekNahled::SetLabel(const TLabelContent& content) {
    content_ = content;
    update();
}

QSize TNosicStitekNahled::sizeHint() const {
    return QSizeF(layout_.page * kZoom).toSize() + QSize(2, 2);
}

void TNosicStitekNahled::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.translate(1, 1);
    painter.scale(kZoom, kZoom);
    painter.fillRect(QRectF(QPointF(0, 0), layout_.page), Qt::white);
    painter.setPen(QPen(Qt::gray, 0));
    painter.drawRect(QRectF(QPointF(0, 0), layout_.page));
    painter.translate(10, 10);
    PaintLabel(painter, layout_, content_);
}

TNosicStitekForm::TNosicStitekForm(const TLabelLayout& layout, QWidget* parent)
    : QDialog(parent), layout_(layout), nahled_(new TNosicStitekNahled(layout, this)) {
    setWindowTitle(QStringLiteral("Štítek nosiče"));
    SetDeskSurface(this);

    auto* tisk = new TMoxButton(QStringLiteral("Tisk"), this);
    tisk->setObjectName(QStringLiteral("BTisk"));
    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(tisk, &TMoxButton::clicked, this, &TNosicStitekForm::Print);
    connect(zavrit, &TMoxButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(tisk);
    buttons->addWidget(zavrit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(nahled_, 0, Qt::AlignCenter);
    column->addLayout(buttons);
}

void TNosicStitekForm::SetTitleText(const QString& text) {
    content_.text = text;
    nahled_->SetLabel(content_);
}

void TNosicStitekForm::SetCode(const QString& code) {
    CheckLabelCode(code);
    content_.code = code;
    nahled_->SetLabel(content_);
}

void TNosicStitekForm::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Štítek nosiče"));
    printer.setPageLayout(QPageLayout(QPageSize(layout_.page, QPageSize::Millimeter), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPrintDialog dialog(&printer, this);
    // A cancelled printer dialog prints nothing.
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    PrintTo(printer);
}

void TNosicStitekForm::PrintTo(QPrinter& printer) const {
    PrintLabel(printer, layout_, content_);
}
