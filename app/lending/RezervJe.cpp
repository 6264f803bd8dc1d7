#include "RezervJe.h"

#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "RezervUpozor.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLocale>

TFRezervJe::TFRezervJe(const TNextReservation& reservation, bool putAside, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FRezervJe"));
    QBoxLayout* buttons = BuildReservationNotice(
        *this, {QStringLiteral("Pozor! Titul je rezervován pro zákazníka na termín:")});
    auto* fields = new QGridLayout;
    int row = 0;
    const auto field = [&](const QString& caption, const char* name, const QString& value, int length) {
        auto* edit = new TMoxEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(length);
        edit->setText(value);
        edit->setReadOnly(true);
        auto* label = new TMoxLabel(caption, this);
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row++, 1);
    };
    // The system's short date format, as the reservation dialog shows its days.
    const auto shortDate = [](const QDate& day) { return QLocale().toString(day, QLocale::ShortFormat); };
    field(QStringLiteral("&Jméno:"), "EJmeno", reservation.jmeno, 24);
    field(QStringLiteral("Příj&mení:"), "EPrijmeni", reservation.prijmeni, 32);
    field(QStringLiteral("EAN kód:"), "EEANKod", reservation.eanKod, 16);
    field(QStringLiteral("Termín půjčení:"), "ETerminPujceni", shortDate(reservation.terminPujceni), 10);
    field(QStringLiteral("Termín vrácení:"), "ETerminVraceni", shortDate(reservation.terminVraceni), 10);
    auto* stranou = new TMoxLabel(
        QStringLiteral("Uložte nosič stranou pro zákazníka. Rezervace je na dnešek (zítřek)."), this);
    stranou->setObjectName(QStringLiteral("LStranou"));
    stranou->setVisible(putAside);
    fields->addWidget(stranou, row, 0, 1, 2);
    static_cast<QBoxLayout*>(layout())->insertLayout(1, fields);

    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    zavrit->setDefault(true);
    connect(zavrit, &TMoxButton::clicked, this, &QDialog::accept);
    buttons->addWidget(zavrit);
}
