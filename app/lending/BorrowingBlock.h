#pragma once

#include <QDate>
#include <QString>

#include <optional>

class TDMGlobDB;
class TTransaction;

// The shop's optional rule: a customer holding a medium more than some days past its due date
// may return and pay, but borrows nothing more until that medium is back.

struct TBlockingLoan {
    QString eanKod;
    QString nazevCesky;
    int daysOverdue = 0;
};

// The one line the counter shows when it refuses to lend.
QString BorrowingBlockedText(const TBlockingLoan& loan);

// The first open loan of the customer past the limit, as the database has it in the transaction
// (so the returns and extensions the transaction wrote count); none while the shop's rule is off.
std::optional<TBlockingLoan> BlockingLoanOnRecord(TDMGlobDB& db, TTransaction& transaction, int kodZak);
