#pragma once

#include "DocumentSummary.h"
#include "ReportFrame.h"

class QWidget;
class TAppContext;

// What the summary shows besides the figures: the shop, its VAT status and rates, its currency.
struct TSouDokSettings {
    TReportShop shop;
    bool platceDph = true;
    double dphA = 0;
    double dphB = 0;
    QString mena;
};

// "Souhrn dokladů": the month's days with their receipt number ranges and takings in two
// columns, the month's total and, for a VAT payer, its split by VAT rate.
class TQRSouDok final {
public:
    TQRSouDok(TAppContext& context, TMonth month);

    // Reads the month in a transaction of its own; a database failure leaves no report.
    TReportFrame Report();
    // Shows the report in the modal print preview until the clerk closes it.
    void Preview(QWidget* parent);

    static TReportFrame Layout(const TDocumentSummary& summary, const TSouDokSettings& settings);

private:
    TAppContext& context_;
    TMonth month_;
};
