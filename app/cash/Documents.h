#pragma once

#include "Month.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class TDMGlobDB;
class TTransaction;

// The statements of the documents register and the cancellation of a receipt, without widgets.

enum class TDocPeriod { Today, Week, Month, Year, All };

// The register's filter controls.
struct TDocFilter {
    bool issued = true;     // "Vyst&avené": valid receipts
    bool cancelled = false; // "Sto&rnované"
    TDocPeriod period = TDocPeriod::Today;
    int month = 1; // 1 .. 12, for the period "měsíc"
    int year = 0;  // for "měsíc" and "rok"
};

// The month the month list opens on: in the first six days of a month the clerk is still
// looking back at the previous one.
TMonth OpeningMonth(const QDate& today);
// The month of the summary button: the chosen month while "měsíc" is chosen, else the month
// before today's.
TMonth SummaryMonth(const TDocFilter& filter, const QDate& today);
// "Sou&hrn 3.2005"
QString SummaryCaption(TMonth month);

// The receipts of the filter, highest number first.
QString DocumentsSql(const TDocFilter& filter);
// The lines of a receipt in the order of the visit, as listed and as printed.
QString DocumentLinesSql(int kodDok);

// Receipts issued after this moment may still be cancelled: the time of today's stored close,
// or the start of today on the server while today is not closed.
QDateTime CancellationCutOff(TDMGlobDB& db, TTransaction& transaction);
bool Cancellable(const QDateTime& dVystaveni, bool cancelled, const QDateTime& cutOff);

// Whether loans paid by the receipt are still out, so the clerk is asked about returning them.
bool HasOpenLoans(TDMGlobDB& db, TTransaction& transaction, int kodDok);

enum class TCancelOutcome {
    Cancelled,          // done (for the loans: the open ones are closed)
    AlreadyCancelled,   // another counter cancelled it meanwhile
    PastCutOff,         // its day was closed meanwhile, or it was issued before the close
    Locked,             // another counter is changing the receipt or one of its loans right now
    Closing,            // a daily close is running
    ExtensionOvertaken, // a loan it extended was returned or extended again since
    Missing,
};

struct TCancelResult {
    TCancelOutcome outcome = TCancelOutcome::Missing;
    int loansReturned = 0;
};

// Cancels the receipt as user kodUziv in one transaction of its own. The receipt is locked and
// checked against the cut-off and against a cancellation by another counter first; when it is
// refused nothing is written.
TCancelResult CancelDocument(TDMGlobDB& db, int kodDok, int kodUziv);
// Closes the loans a cancelled receipt paid for that are still open and puts their media back
// on the shelf (a retired medium stays off it), in one transaction of its own. The customer's
// loan count and the reservations the loans fulfilled stay as they are.
TCancelResult ReturnCancelledLoans(TDMGlobDB& db, int kodDok, int kodUziv);
// Both, one after the other, as a clerk who answers yes to the second question.
TCancelResult CancelDocument(TDMGlobDB& db, int kodDok, bool returnLoans, int kodUziv);
// What the clerk is told when a cancellation was refused; empty for a done one.
QString CancelRefusalText(TCancelOutcome outcome, int cisloDok);
