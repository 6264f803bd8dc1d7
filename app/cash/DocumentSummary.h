#pragma once

#include "Month.h"

#include <QDate>
#include <QString>

#include <vector>

class TDMGlobDB;
class TTransaction;

// The figures of the monthly summary of receipts, without widgets.

// One day of the month: the range of receipt numbers issued that day (cancelled ones
// included) and the day's takings (cancelled ones left out, 0 when all were cancelled).
struct TSummaryDay {
    QDate day;
    int cisloOd = 0;
    int cisloDo = 0;
    double castka = 0;
};

// The month's receipts that were not cancelled, split by VAT rate.
struct TSummaryTotals {
    double cenaDph = 0;
    double zakladA = 0;
    double zakladB = 0;
    double zaklad0 = 0;
    double dphA = 0;
    double dphB = 0;
    double cena = 0;
};

struct TDocumentSummary {
    TMonth month;
    std::vector<TSummaryDay> days;
    TSummaryTotals totals;
};

// The days of the month with their number ranges and takings, in one statement: a statement
// per day would cost a month's worth of round trips.
QString SummaryDaysSql(TMonth month);
// The month's totals. The cancellation is tested through an expression, so that the index of
// D_STORNO, null in nearly every row of a shop's years, is not used to find this month's rows.
QString SummaryTotalsSql(TMonth month);

// Reads the month in the given transaction (which it leaves open).
TDocumentSummary DocumentSummary(TDMGlobDB& db, TTransaction& transaction, TMonth month);

// "březen 2005": the month's name as it stands alone, not Qt's genitive of a date.
QString SummaryPeriodText(TMonth month);
// A VAT rate as the shortest decimal number: "21", "10,5".
QString VatRateText(double percent);
