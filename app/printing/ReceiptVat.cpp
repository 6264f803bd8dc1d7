#include "ReceiptVat.h"

#include <cmath>

namespace {

// A price without VAT is rounded to the cent once; receipts of the older system could be a cent
// apart from today's rounding.
constexpr double kCent = 0.01 + 1e-9;

bool Fits(const std::vector<const TPricedLine*>& lines, double rate) {
    for (const TPricedLine* line : lines)
        if (std::abs(line->CenaDph / (1 + rate / 100) - line->Cena) > kCent)
            return false;
    return true;
}

} // namespace

double RateOfLines(const std::vector<TPricedLine>& lines, const QString& vatClass, double currentRate) {
    std::vector<const TPricedLine*> priced;
    const TPricedLine* largest = nullptr;
    for (const TPricedLine& line : lines) {
        if (line.Dph != vatClass || line.Cena == 0)
            continue;
        priced.push_back(&line);
        if (largest == nullptr || std::abs(line.Cena) > std::abs(largest->Cena))
            largest = &line;
    }
    if (largest == nullptr || Fits(priced, currentRate))
        return currentRate;
    // The largest price carries the rate with the least rounding in it.
    const double estimate = (largest->CenaDph / largest->Cena - 1) * 100;
    const double whole = std::round(estimate);
    if (Fits(priced, whole))
        return whole;
    return std::round(estimate * 100) / 100;
}
