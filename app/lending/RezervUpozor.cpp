#include "RezervUpozor.h"

#include "DeskSurface.h"
#include "MoxButton.h"
#include "MoxLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

QBoxLayout* BuildReservationNotice(QDialog& notice, const QStringList& lines) {
    notice.setWindowTitle(QStringLiteral("Titul je rezervován"));
    SetDeskSurface(&notice);

    auto* picture = new QLabel(&notice);
    picture->setObjectName(QStringLiteral("LObrazek"));
    picture->setPixmap(notice.style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    auto* texts = new QVBoxLayout;
    for (const QString& line : lines) {
        auto* label = new TMoxLabel(line, &notice);
        label->setWordWrap(false);
        texts->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* layout = new QVBoxLayout(&notice);
    layout->addLayout(top);
    layout->addLayout(buttons);
    return buttons;
}

TFRezervUpozor::TFRezervUpozor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FRezervUpozor"));
    QBoxLayout* buttons = BuildReservationNotice(
        *this, {QStringLiteral("Pozor! Titul je následující dny rezervován."),
                QStringLiteral("Nosič nelze půjčit na dny, kdy se neplatí půjčovné.")});
    auto* ok = new TMoxButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BOK"));
    ok->setDefault(true);
    connect(ok, &TMoxButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
}
