#pragma once

#include "Visit.h"

#include <QDialog>

class TMoxEdit;
class TMoxNumEdit;
class TSpecCena;

// "Prodloužení výpůjčky": the number of days a loan on record is extended by, with the new due
// date and the price of the days added as the payment will charge them.
class TFProdlouzeni final : public QDialog {
    Q_OBJECT
public:
    TFProdlouzeni(TSpecCena& prices, const TCartRow& loan, const QDate& today, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFProdlouzeni)

    QDate NovyTermin() const;

private:
    void Recount();

    TSpecCena& prices_;
    const TCartRow loan_;
    const QDate start_;
    TMoxNumEdit* ePocetDni_;
    TMoxEdit* eNovyTermin_;
    TMoxNumEdit* eCena_;
};
