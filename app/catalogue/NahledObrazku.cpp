#include "NahledObrazku.h"

#include "DeskSurface.h"
#include "MoxButton.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

TFNahledObrazku::TFNahledObrazku(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      obrazek_(new QLabel) {
    setObjectName(QStringLiteral("FNahledObrazku"));
    setWindowTitle(QStringLiteral("Náhled obrázku:"));
    setMinimumSize(328, 220);
    resize(520, 393);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PObrazek"));
    panel->setStyleSheet(QStringLiteral("QFrame#PObrazek { border: 2px solid rgb(0, 128, 0); }"));
    auto* scroll = new QScrollArea(panel);
    scroll->setObjectName(QStringLiteral("ScrollBox"));
    scroll->setWidget(obrazek_);
    scroll->setAlignment(Qt::AlignCenter);
    obrazek_->setObjectName(QStringLiteral("ImageObrazek"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(scroll);

    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(zavrit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    SetDeskSurface(this);
}

void TFNahledObrazku::SetCaption(const QString& text) {
    setWindowTitle(QStringLiteral("Náhled obrázku: ") + text);
}

void TFNahledObrazku::SetPicture(const QImage& picture) {
    obrazek_->setPixmap(QPixmap::fromImage(picture));
    obrazek_->resize(picture.size());
}
