#pragma once

#include <QString>

#include <vector>

// One stored receipt line as its VAT was split: the price per day without and with VAT.
struct TPricedLine {
    QString Dph; // the VAT class 'A', 'B' or '0'
    double Cena = 0;
    double CenaDph = 0;
};

// The rate (percent) the receipt's lines of one VAT class were priced with, read from their own
// amounts: the shop's rate may have changed since, at another counter or by law before a reprint.
// The shop's current rate when it fits every line (or the class has no priced line), else the
// whole percent the amounts give, else the amounts' rate to the hundredth.
double RateOfLines(const std::vector<TPricedLine>& lines, const QString& vatClass, double currentRate);
