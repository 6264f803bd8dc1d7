#include "Prodlouzeni.h"

#include "DeskSurface.h"
#include "Extension.h"
#include "GlobFunc.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "PriceSettings.h"
#include "Pricing.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

QString DayText(const QDate& day) {
    return DateToText(QStringLiteral("dd.mm.yyyy"), day);
}

TMoxEdit* Shown(QWidget* parent, const char* name, const QString& text) {
    auto* field = Named(new TMoxEdit(parent), name);
    field->setReadOnly(true);
    field->setText(text);
    return field;
}

} // namespace

TFProdlouzeni::TFProdlouzeni(TSpecCena& prices, const TCartRow& loan, const QDate& today, QWidget* parent)
    : QDialog(parent), prices_(prices), loan_(loan), start_(ExtensionStart(loan.terminVraceni, today)),
      ePocetDni_(Named(new TMoxNumEdit(this), "EPocetDni")), eNovyTermin_(Shown(this, "ENovyTermin", {})),
      eCena_(Named(new TMoxNumEdit(this), "ECena")) {
    setObjectName(QStringLiteral("FProdlouzeni"));
    setWindowTitle(QStringLiteral("Prodloužení výpůjčky"));
    SetDeskSurface(this);
    ePocetDni_->setMinValue(1);
    ePocetDni_->setMaxValue(99);
    ePocetDni_->setMaxLength(2);
    ePocetDni_->setValue(DefaultExtensionDays(prices, start_));
    eCena_->setDecimal(2);
    eCena_->setReadOnly(true);
    eCena_->setAlignment(Qt::AlignRight);

    auto* grid = new QGridLayout;
    const auto row = [&](int r, const QString& caption, QWidget* field) {
        grid->addWidget(Caption(caption, field, this), r, 0);
        grid->addWidget(field, r, 1);
    };
    row(0, QStringLiteral("Titul:"), Shown(this, "ENazev", loan.nazevCesky));
    row(1, QStringLiteral("CN kód:"), Shown(this, "EKod", loan.eanKod));
    row(2, QStringLiteral("Termín vrácení:"), Shown(this, "ETermin", DayText(loan.terminVraceni)));
    row(3, QStringLiteral("Počet &dní:"), ePocetDni_);
    row(4, QStringLiteral("Nový termín vrácení:"), eNovyTermin_);
    row(5, QStringLiteral("Cena prodloužení:"), eCena_);
    grid->addWidget(new TMoxLabel(prices.GetMena(), this), 5, 2);
    grid->setColumnStretch(1, 1);

    auto* confirm = Named(new TMoxButton(QStringLiteral("&Prodloužit"), this), "BProdlouzit");
    confirm->setDefault(true);
    auto* back = Named(new TMoxButton(QStringLiteral("Zpět"), this), "BZpet");
    connect(confirm, &TMoxButton::clicked, this, &QDialog::accept);
    connect(back, &TMoxButton::clicked, this, &QDialog::reject);
    connect(ePocetDni_, &TMoxEdit::textChanged, this, [this] { Recount(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    Recount();
    ePocetDni_->setFocus();
    ePocetDni_->selectAll();
}

QDate TFProdlouzeni::NovyTermin() const {
    return start_.addDays(ePocetDni_->valueInt());
}

void TFProdlouzeni::Recount() {
    const QDate novy = NovyTermin();
    eNovyTermin_->setText(DayText(novy));
    eCena_->setValue(loan_.cenaPujcka *
                     ExtensionDays(prices_, loan_.terminPujceni, loan_.terminVraceni, novy));
}
