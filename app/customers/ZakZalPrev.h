#pragma once

#include "DepositEntry.h"

// "Převzetí zálohy": the clerk takes money from the customer as a deposit.
class TFZakZalPrev final : public TDepositEntry {
    Q_OBJECT
public:
    explicit TFZakZalPrev(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakZalPrev)

    void SetZakaznik(int kodZak) { kodZak_ = kodZak; }

protected:
    TDepositSave Write(double amount, const QString& note) override;
    double PaymentAmount(double amount) const override { return amount; }
};
