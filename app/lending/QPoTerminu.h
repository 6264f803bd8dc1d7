#pragma once

#include "Overdue.h"
#include "ReportFrame.h"

// "Nosiče po termínu vrácení": the overdue list as shown, one row per medium with the customer's
// contacts, the late charge of a return on the day of printing and the total under the list.
class TQRPoTerminu final {
public:
    TQRPoTerminu(const std::vector<TOverdueLoan>& rows, int minDays, const QString& currency,
                 TReportShop shop);

    const TReportFrame& Report() const { return report_; }

private:
    TReportFrame report_;
};
