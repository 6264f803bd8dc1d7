#pragma once

#include "DayFigures.h"
#include "DbError.h"

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

// The figures of the day a close is stored for. Today counts everything since its start; a past
// day counts only its own activity, up to its end, so that today's early work is not counted
// twice (in the past day's close and again in today's).
TCloseFigures CloseFigures(TDMGlobDB& db, TTransaction& transaction, TCloseMode mode, const QDate& today);

// The days a stored close wrote, in order.
struct TStoredClose {
    std::vector<QDate> Days;
    double Closing = 0;
};

// Stores the close in a transaction of its own, committed once everything is written or rolled
// back on any failure, so a failed close leaves nothing behind. Each day gets its TRZBY row
// (inserted or updated) with its own figures and the balance carried from the day before;
// rows of past days are stamped at their last second. Then the ended reservations go: in the
// previous-period mode only those ended before today, since today's have not been served yet.
// A day another counter is closing at the same moment fails with a clear message.
TStoredClose StoreClose(TDMGlobDB& db, TCloseMode mode, int kodUziv);

// The lists of the close page.
QString OpenLoansSql();
QString ReservationsSql();
QString DeleteEndedReservationsSql(TCloseMode mode);

// Another counter is storing the same day's close at this moment; nothing was stored.
class ECloseBusy final : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("ECloseBusy"); }
};
