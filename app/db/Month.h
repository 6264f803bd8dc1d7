#pragma once

#include <QString>

// A calendar month of the month-by-month lists (login history, cash movements, closes).
struct TMonth {
    int Year = 0;
    int Month = 1;

    TMonth Previous() const { return Month == 1 ? TMonth{Year - 1, 12} : TMonth{Year, Month - 1}; }
    TMonth Next() const { return Month == 12 ? TMonth{Year + 1, 1} : TMonth{Year, Month + 1}; }
    // "03. 2005"
    QString Text() const { return QString::asprintf("%02d. %d", Month, Year); }
};
