#pragma once

#include <QDate>
#include <QDateTime>

class TDMGlobDB;
class TTransaction;

// The answer about the stored closes, with the D_UZAVRENI of the newest close (invalid when
// no close was ever stored).
struct TCloseAnswer {
    bool Yes = false;
    QDateTime LastClose;
};

// True when every business day before today is closed. Idle days between the newest close and
// today are closed here with empty rows carrying the till balance, written as user kodUziv.
// Commits the transaction at the end when it was not active on entry.
TCloseAnswer PreviousDayClosed(TDMGlobDB& db, TTransaction& transaction, int kodUziv);

// True when nothing happened since the newest stored close.
// Commits the transaction at the end when it was not active on entry.
TCloseAnswer NoActivitySinceClose(TDMGlobDB& db, TTransaction& transaction);

// Where a close of the unclosed previous period starts: the newest stored close day (which is
// closed again) with the balance of the close before it as the opening balance. With no close
// ever stored the period starts on the day of the first activity, opening balance 0; with
// neither, the date is invalid.
struct TPreviousPeriod {
    QDate CloseDate;
    double Opening = 0;
};
TPreviousPeriod PreviousPeriod(TDMGlobDB& db, TTransaction& transaction);
