#pragma once

#include "DayClose.h"
#include "ReportFrame.h"

#include <QString>

// "Přehled pokladny": the close page's figures as an A4 report.
class TQRKasa final {
public:
    TQRKasa(const TCloseFigures& figures, QString currency, TReportShop shop);

    TReportFrame Report() const;

private:
    TCloseFigures figures_;
    QString currency_;
    TReportShop shop_;
};
