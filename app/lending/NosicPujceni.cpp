#include "NosicPujceni.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "RezervUpozor.h"

#include <QGridLayout>

namespace {

TMoxNumEdit* Number(QWidget* parent, const char* name, int decimals) {
    auto* field = new TMoxNumEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setDecimal(decimals);
    field->setReadOnly(true);
    return field;
}

} // namespace

TFNosicPujceni::TFNosicPujceni(TAppContext& context, QWidget* parent)
    : TFNosicHledani(context, QStringLiteral("Půjčení nosiče"), QStringLiteral("Půjčit nosič"), parent),
      eCelkem_(Number(this, "ECelkem", 0)), eStavem_(Number(this, "EStavem", 0)),
      eCena_(Number(this, "ECena", 2)), eSleva_(Number(this, "ESleva", 2)),
      lSlevaZnak_(new TMoxLabel(QStringLiteral("!"), this)),
      lVip_(new TMoxLabel(QStringLiteral("VIP"), this)), ePocetDni_(Number(this, "EPocetDni", 0)) {
    setObjectName(QStringLiteral("FNosicPujceni"));
    lSlevaZnak_->setObjectName(QStringLiteral("LSlevaZnak"));
    lSlevaZnak_->setFramed(true);
    lSlevaZnak_->setVisible(false);
    lVip_->setObjectName(QStringLiteral("LVip"));
    QFont big = lVip_->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lVip_->setFont(big);
    QPalette green = lVip_->palette();
    green.setColor(QPalette::WindowText, Qt::darkGreen);
    lVip_->setPalette(green);
    lVip_->setVisible(false);
    ePocetDni_->setReadOnly(false);
    ePocetDni_->setMinValue(1);
    ePocetDni_->setMaxValue(99);
    ePocetDni_->setMaxLength(2);
    ePocetDni_->setValue(1);
    ePocetDni_->setEnabled(false);
    SearchOnScan(ePocetDni_);

    const QString mena = context.SpecCena().GetMena();
    QGridLayout* grid = Extra();
    const auto currency = [&] { return new TMoxLabel(mena, this); };
    grid->addWidget(Caption(QStringLiteral("Celkem kusů:"), eCelkem_, this), 0, 0);
    grid->addWidget(eCelkem_, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Stavem nyní:"), eStavem_, this), 0, 3);
    grid->addWidget(eStavem_, 0, 4);
    grid->addWidget(Caption(QStringLiteral("Půjčovné/Den:"), eCena_, this), 1, 0);
    grid->addWidget(eCena_, 1, 1);
    grid->addWidget(currency(), 1, 2);
    grid->addWidget(Caption(QStringLiteral("Sleva:"), eSleva_, this), 1, 3);
    grid->addWidget(eSleva_, 1, 4);
    grid->addWidget(currency(), 1, 5);
    grid->addWidget(lSlevaZnak_, 1, 6);
    grid->addWidget(Caption(QStringLiteral("Počet dní:"), ePocetDni_, this), 2, 0);
    grid->addWidget(ePocetDni_, 2, 1);
    grid->addWidget(lVip_, 2, 3, 1, 3);
    grid->setColumnStretch(7, 1);
}

void TFNosicPujceni::SetCustomer(int kodZak, const TCustomerPrices& prices, int discountCount) {
    kodZak_ = kodZak;
    prices_ = prices;
    discountFound_ = DiscountFor(Context().Db(), Transaction(), discountCount);
    Transaction().Commit();
    eSleva_->setValue(prices.vip ? 0.0 : discountFound_);
    lSlevaZnak_->setVisible(discountFound_ != 0);
    lVip_->setVisible(prices.vip);
}

double TFNosicPujceni::CenaPujcka() const {
    return RentPerDay(eCena_->value(), discountFound_, prices_.vip);
}

int TFNosicPujceni::PocetDni() const {
    return ePocetDni_->valueInt();
}

std::optional<TFNosicHledani::TTitleShown> TFNosicPujceni::Find(const QString& typed) {
    const std::optional<TMediumToLend> found = FindMediumToLend(Context().Db(), Transaction(), typed);
    if (!found)
        return std::nullopt;
    medium_ = *found;
    eCena_->setValue(BaseRent(prices_, found->typNosice, found->cenaPujcka));
    eCelkem_->setValue(found->pocetCelkem);
    eStavem_->setValue(found->pocetPritomno);
    return TTitleShown{found->nazevCesky, found->nazevOrig, found->typNosice};
}

void TFNosicPujceni::Found() {
    ePocetDni_->setEnabled(true);
    const TLoanOffer offer = DefaultLoanOffer(
        Context().SpecCena(), QDate::currentDate(), medium_.pocetCelkem, [this](const QDate& day) {
            return ReservationsStartingByOthers(Context().Db(), Transaction(), medium_.kodTitul, kodZak_,
                                                day);
        });
    Transaction().Commit();
    if (offer.locked) {
        TFRezervUpozor notice(this);
        ExecModal(notice);
        ePocetDni_->setEnabled(false);
    }
    ePocetDni_->setValue(offer.days);
    ePocetDni_->setFocus();
    ePocetDni_->selectAll();
}
