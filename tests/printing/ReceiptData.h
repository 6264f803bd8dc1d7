#pragma once

#include "ReceiptLayout.h"

#include <QFile>

// The shop, customer and receipt of the expected printouts in tests/printing/data.
inline TReceiptBranch TestBranch() {
    TReceiptBranch b;
    b.Jmeno = QStringLiteral("Videopůjčovna Žluťásek");
    b.Ic = QStringLiteral("12345678");
    b.Dic = QStringLiteral("CZ12345678");
    b.AdrUlice = QStringLiteral("Náměstí 5");
    b.Tel = QStringLiteral("777 123 456");
    b.AdrPsc = QStringLiteral("602 00");
    b.AdrObec = QStringLiteral("Brno");
    b.Email = QStringLiteral("kino@zlutasek.cz");
    b.TextDoklad = QStringLiteral("Děkujeme za návštěvu.");
    return b;
}

inline TReceiptShop TestShop(bool payer) {
    return {payer, 21, 12, QStringLiteral("Kč")};
}

inline TReceiptCustomer TestCustomer() {
    return {QStringLiteral("Jiří"), QStringLiteral("Šťastný"), QStringLiteral("0503261234000012")};
}

// Lines in the classes A, B and 0 and a negative line (a charge taken back).
inline TTaxReceipt TestReceipt() {
    TTaxReceipt r;
    r.CisloDok = QStringLiteral("57");
    r.DUzp = QDate(2026, 3, 5);
    r.DVystaveni = QDate(2026, 3, 5);
    r.Customer = TestCustomer();
    const QDate lent(2026, 3, 5);
    r.Lines = {
        {QStringLiteral("0503261000100001"), QStringLiteral("Pelíšky"), lent, 2, 60, QStringLiteral("A")},
        {QStringLiteral("0503261000200002"), QStringLiteral("Kolja"), lent, 1, 30, QStringLiteral("B")},
        {QStringLiteral("0503261000300003"), QStringLiteral("Žluťoučký kůň"), lent, 3, 45,
         QStringLiteral("0")},
        {QStringLiteral("0503261000100001"), QStringLiteral("Pelíšky"), lent, 1, -30, QStringLiteral("A")}};
    r.ZakladA = 24.80;
    r.DphA = 5.20;
    r.ZakladB = 26.79;
    r.DphB = 3.21;
    r.Zaklad0 = 45;
    r.CenaDph = 105;
    return r;
}

// The printer's defaults with the cutter on.
inline TPrintSettings TestSettings(const QString& coding) {
    TPrintSettings s;
    s.Coding = coding;
    s.Shear = true;
    return s;
}

// An expected printout as written by hand, in UTF-8, with "<CUT>" standing for the cut command.
inline QByteArray ExpectedText(const QString& name) {
    QFile file(QStringLiteral(CINEMON_PRINTING_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return "missing expected file " + name.toUtf8();
    return file.readAll().replace("<CUT>", "\x1b"
                                           "d0");
}
