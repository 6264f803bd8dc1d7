#include "NosicVraceni.h"

#include "AppContext.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"

#include <QGridLayout>

TFNosicVraceni::TFNosicVraceni(TAppContext& context, QWidget* parent)
    : TFNosicHledani(context, QStringLiteral("Vrácení nosiče"), QStringLiteral("Vrátit nosič"), parent),
      eCelkem_(new TMoxNumEdit(this)), eStavem_(new TMoxNumEdit(this)), eZprava_(new TMoxEdit(this)) {
    setObjectName(QStringLiteral("FNosicVraceni"));
    eCelkem_->setObjectName(QStringLiteral("ECelkem"));
    eStavem_->setObjectName(QStringLiteral("EStavem"));
    for (TMoxNumEdit* count : {eCelkem_, eStavem_})
        count->setReadOnly(true);
    eZprava_->setObjectName(QStringLiteral("EZprava"));
    eZprava_->setMaxLength(160);
    eZprava_->setEnabled(false);
    SearchOnScan(eZprava_);

    auto* zpravaCaption = new TMoxLabel(QStringLiteral("&Zpráva o nosiči při vracení:"), this);
    zpravaCaption->setBuddy(eZprava_);
    QGridLayout* grid = Extra();
    grid->addWidget(new TMoxLabel(QStringLiteral("Celkem kusů:"), this), 0, 0);
    grid->addWidget(eCelkem_, 0, 1);
    grid->addWidget(new TMoxLabel(QStringLiteral("Stavem nyní:"), this), 0, 2);
    grid->addWidget(eStavem_, 0, 3);
    grid->addWidget(zpravaCaption, 1, 0, 1, 4);
    grid->addWidget(eZprava_, 2, 0, 1, 5);
    grid->setColumnStretch(4, 1);
}

QString TFNosicVraceni::Zprava() const {
    return eZprava_->text();
}

std::optional<TFNosicHledani::TTitleShown> TFNosicVraceni::Find(const QString& typed) {
    const std::optional<TMediumOnLoan> found = FindMediumOnLoan(Context().Db(), Transaction(), typed);
    if (!found)
        return std::nullopt;
    medium_ = *found;
    eCelkem_->setValue(found->pocetCelkem);
    eStavem_->setValue(found->pocetPritomno);
    return TTitleShown{found->nazevCesky, found->nazevOrig, found->typNosice};
}

void TFNosicVraceni::Found() {
    // What was written belongs to the medium found before.
    eZprava_->clear();
    eZprava_->setEnabled(true);
    eZprava_->setFocus();
}
