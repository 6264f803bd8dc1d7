#pragma once

#include "MediumLookup.h"
#include "NosicHledani.h"
#include "Pricing.h"

class TMoxLabel;
class TMoxNumEdit;

// "Půjčení nosiče": finds a medium to lend by its code and fixes the rent per day and the number
// of days of the loan.
class TFNosicPujceni final : public TFNosicHledani {
    Q_OBJECT
public:
    TFNosicPujceni(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNosicPujceni)

    // The customer the medium goes to and the loan count the discount depends on; looks the
    // discount up at once.
    void SetCustomer(int kodZak, const TCustomerPrices& prices, int discountCount);

    const TMediumToLend& Medium() const { return medium_; }
    // The agreed rent per day: the base rent less the discount, never below zero.
    double CenaPujcka() const;
    int PocetDni() const;

protected:
    std::optional<TTitleShown> Find(const QString& typed) override;
    void Found() override;

private:
    int kodZak_ = 0;
    TCustomerPrices prices_;
    double discountFound_ = 0;
    TMediumToLend medium_;
    TMoxNumEdit* eCelkem_;
    TMoxNumEdit* eStavem_;
    TMoxNumEdit* eCena_;
    TMoxNumEdit* eSleva_;
    TMoxLabel* lSlevaZnak_;
    TMoxLabel* lVip_;
    TMoxNumEdit* ePocetDni_;
};
