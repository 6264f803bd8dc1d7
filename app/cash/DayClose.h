#pragma once

#include "DayFigures.h"

#include <QDate>
#include <QString>

#include <vector>

class TDMGlobDB;
class TTransaction;

// The close of today, or of the unclosed previous period (the newest stored close day and the
// days after it up to yesterday) when the gate found the previous day open.
enum class TCloseMode { Today, PreviousPeriod };

// What the close page shows and stores for one day.
struct TCloseFigures {
    QDate CloseDate; // invalid when there is nothing to close
    double Opening = 0;
    int LoansStarted = 0;
    int LoansReturned = 0;
    TDayFigures Money;

    double Closing() const { return Opening + Money.Net(); }
};

// The rows a close stores, one per day in order, each with its own figures and the balance
// carried from the day before. Today counts everything since its start; a past day counts only
// its own activity, up to its end, so that today's early work is not counted twice (in the past
// day's close and again in today's). The previous-period mode re-closes the newest stored day
// and closes each day after it up to yesterday; it has nothing to close once another counter
// has closed today.
std::vector<TCloseFigures> CloseDays(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode,
                                     const QDate& today);

// What the close page shows for the days a close stores: the first day and its opening
// balance, the sums of every day's figures, and so the closing balance of the last day.
TCloseFigures Summary(const std::vector<TCloseFigures>& days);

// The page's figures: the summary of what a close would store now. In the previous-period mode
// with nothing left to close, today's figures.
TCloseFigures CloseFigures(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode, const QDate& today);

// What a close stored: its days in order and their summary. No day at all when another counter
// closed the period meanwhile.
struct TStoredClose {
    std::vector<QDate> Days;
    TCloseFigures Figures;
};

// Stores the close in one transaction that reads the figures as one snapshot while no counter
// writes money (writes or another close in flight for longer than a moment fail it with
// ETillBusy, and no counter can write money until it ends); committed once everything is written or rolled
// back on any failure, so a failed close leaves nothing behind. Each day gets its TRZBY row (inserted or
// updated) stamped with the server's time of the close. Then the ended reservations go: in the
// previous-period mode only those ended before today, since today's have not been served yet.
TStoredClose StoreClose(TDMGlobDB& db, TCloseMode mode, int kodUziv);

// Inserts the day's TRZBY row with its figures and closing balance, stamped with the server's
// time of writing: the one statement every close, and the gate's close of an idle day, write.
void InsertCloseRow(TDMGlobDB& db, TTransaction& transaction, const TCloseFigures& f, int kodUziv);

// The lists of the close page.
QString LoansOutAtCloseSql();
QString ReservationsSql();
QString DeleteEndedReservationsSql(TCloseMode mode);
