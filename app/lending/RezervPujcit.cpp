#include "RezervPujcit.h"

#include "MoxButton.h"
#include "RezervUpozor.h"

#include <QBoxLayout>

TFRezervPujcit::TFRezervPujcit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FRezervPujcit"));
    QBoxLayout* buttons = BuildReservationNotice(
        *this,
        {QStringLiteral("Pozor! Titul je rezervován pro jiného zákazníka."),
         QStringLiteral("Chcete přesto půjčit nosič zákazníkovi nebo rezervovat titul na jiný termín?")});
    const auto button = [&](const QString& caption, const char* name, int result) {
        auto* b = new TMoxButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &TMoxButton::clicked, this, [this, result] { done(result); });
        buttons->addWidget(b);
        return b;
    };
    // The safe answer is the one Enter gives.
    button(QStringLiteral("Zpět"), "BZpet", QDialog::Rejected)->setDefault(true);
    button(QStringLiteral("&Půjčit"), "BPujcit", Pujcit);
    button(QStringLiteral("&Rezervovat"), "BRezervovat", Rezervovat);
}
