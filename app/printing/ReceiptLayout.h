#pragma once

#include "PrintSettings.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

// The receipts of the receipt printer as bytes: lines of a fixed width in the printer's code
// page, each ending with a line feed, with the next receipt's header pre-printed and the cut
// at the end. Widths count the bytes of the Windows-1250 text. Dates have a four-digit year
// and amounts a decimal comma without grouping, whatever the machine's locale.

// The shop's identity as printed in the header and at the end of a tax receipt.
struct TReceiptBranch {
    QString Jmeno, Ic, Dic, AdrUlice, Tel, AdrPsc, AdrObec, Email;
    QString TextDoklad; // closes every tax receipt
};

struct TReceiptShop {
    bool PlatceDph = false;
    double DphA = 0, DphB = 0; // percent
    QString Mena;
};

struct TReceiptCustomer {
    QString Jmeno, Prijmeni, EanKod;
};

struct TReceiptLine {
    QString EanKod; // the medium's label code
    QString NazevCesky;
    QDate DPujceni;
    int PocetDni = 0;
    double CenaRadkuDph = 0;
    QString Dph; // the VAT class 'A', 'B' or '0'
};

struct TTaxReceipt {
    QString CisloDok;
    QDate DUzp, DVystaveni;
    TReceiptCustomer Customer;
    std::vector<TReceiptLine> Lines;
    double ZakladA = 0, ZakladB = 0, Zaklad0 = 0, DphA = 0, DphB = 0, CenaDph = 0;
};

enum class TDepositKind { Taken, Returned };

QByteArray ComposeTaxReceipt(const TPrintSettings& settings, const TReceiptBranch& branch,
                             const TReceiptShop& shop, const TTaxReceipt& receipt);
// amount is what changed hands, positive for either kind.
QByteArray ComposeDepositReceipt(const TPrintSettings& settings, const TReceiptBranch& branch,
                                 const TReceiptShop& shop, TDepositKind kind,
                                 const TReceiptCustomer& customer, double amount, const QDate& today);
