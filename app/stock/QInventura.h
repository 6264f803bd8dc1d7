#pragma once

#include "ReportFrame.h"

class TStockList;

// The stocktaking report "Inventura nosičů": the list in its current order, one numbered row per
// medium with its type, names, code and state, every third row from the second on grey.
class TQRInventura final {
public:
    TQRInventura(const TStockList& list, TReportShop shop);

    const TReportFrame& Report() const { return report_; }

private:
    TReportFrame report_;
};
