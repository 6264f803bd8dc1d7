#pragma once

#include "DbError.h"

#include <QDateTime>

class TDMGlobDB;
class TSpecCena;
class TVisit;

// Another counter changed what the visit relies on since it was built: nothing was written and
// the visit stays as it is, so the clerk can mend it and pay again.
class EVisitConflict final : public ECinemonError {
public:
    explicit EVisitConflict(const QString& message, int kodNosic = 0)
        : ECinemonError(message), kodNosic_(kodNosic) {}
    QString TypeName() const override { return QStringLiteral("EVisitConflict"); }
    // The medium another counter lent or took back meanwhile; 0 when the conflict is not one medium's.
    int KodNosic() const { return kodNosic_; }

private:
    int kodNosic_;
};

struct TPaymentResult {
    bool receipt = false; // a receipt was written
    int kodDok = 0;
    double total = 0;  // the receipt's total as the database computed it
    QDateTime written; // the one time of every row the payment wrote
};

// Writes the whole visit in one transaction: the receipt and its lines, the new loans, the
// returns and complaints, the stock and loan counters and the reservations the clerk changed.
// Each medium lent is locked and checked to be on the shelf, each return to be still open, so
// two counters never lend one medium or book one return twice.
TPaymentResult PayVisit(TDMGlobDB& db, TSpecCena& prices, const TVisit& visit, int kodUziv);
