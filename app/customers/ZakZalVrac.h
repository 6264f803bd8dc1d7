#pragma once

#include "DepositEntry.h"

// "Vrácení zálohy": the clerk gives the customer's deposit back, whole or in part.
class TFZakZalVrac final : public TDepositEntry {
    Q_OBJECT
public:
    explicit TFZakZalVrac(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakZalVrac)

    // The amount starts at what the customer holds.
    void SetZakaznik(int kodZak, double held);

protected:
    TDepositSave Write(double amount, const QString& note) override;
    double PaymentAmount(double amount) const override { return -amount; }
};
