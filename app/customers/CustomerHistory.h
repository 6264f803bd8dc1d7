#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>

class TDMGlobDB;
class TTransaction;

// The customer's history: what was borrowed, how reliably it came back, what was paid.

QString CustomerLoansSql(int key);
QString HistoryMessagesSql(int key);

struct TCustomerFigures {
    int loans = 0;        // all loans
    int unreturned = 0;   // not returned yet
    int late = 0;         // returned on a day after the due day
    double lateRatio = 0; // late returns as a percentage of all loans
    double takings = 0;   // receipts not cancelled; shown only to managers
};

// Late share in percent; 0 for a customer without loans.
double LateRatio(int late, int loans);
// Reads the figures; the takings are read only for rights 'A' and 'V' and are 0 otherwise.
TCustomerFigures ReadCustomerFigures(TDMGlobDB& db, TTransaction& transaction, int key, QChar rights);

// How a loans row is drawn: the font colour of the whole row, and whether the return-date
// cell is red because a loan still out is due.
struct TLoanRowLook {
    QColor font;          // invalid: the grid's own colour
    bool dueCell = false; // red background of "Datum vrácení"
};

inline const QColor kRetiredColour{128, 128, 128};
inline const QColor kLentColour{0, 0, 255};
inline const QColor kLateColour{255, 0, 0};

TLoanRowLook LoanRowLook(const QDateTime& retired, const QDateTime& returned, const QDate& due,
                         const QDate& today);
