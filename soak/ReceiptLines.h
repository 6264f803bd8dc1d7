#pragma once

#include <QStringList>

class TDMGlobDB;
class TTransaction;

// Each receipt line against the loan it bills, with the price, days and VAT class worked out
// here from the loan and the shop's settings, not by the units that wrote the line.
QStringList ReceiptLineOffenders(TDMGlobDB& db, TTransaction& transaction);

// Every loan billed by one rent line at most, a paid loan by exactly one.
QStringList RentLineOffenders(TDMGlobDB& db, TTransaction& transaction);
