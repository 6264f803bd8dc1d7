#pragma once

#include <QDate>

class TDMGlobDB;

// Fills a database restored from the shipped backup with ten years of a busy shop.
// The rows are made inside the engine (execute block), so a million loans take a minute.
struct TShopSize {
    int customers = 20000;
    int titles = 15000;
    int media = 40000;
    int loans = 1000000;
    int receipts = 400000;
    int linesPerReceipt = 2;
    int deposits = 30000;
    int reservations = 3000;
    int years = 10;
};

void GenerateShop(TDMGlobDB& db, const TShopSize& size, const QDate& today);

// The label code of a generated medium and the card code of a generated customer.
QString GeneratedMediumCode(int mediumKey);
QString GeneratedCustomerCode(int customerKey);
