#include "DenUzavreni.h"

#include "DayClose.h"
#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Till.h"

#include <QThread>

namespace {

// Commits at the end a transaction that the caller did not have open.
class TCommitIfStarted final {
public:
    explicit TCommitIfStarted(TTransaction& transaction)
        : transaction_(transaction), wasActive_(transaction.Active()) {}
    void Done() {
        if (!wasActive_ && transaction_.Active())
            transaction_.Commit();
    }

private:
    TTransaction& transaction_;
    bool wasActive_;
};

bool AnyRow(TDMGlobDB& db, TTransaction& transaction, const QString& sql) {
    auto query = db.OpenQuery(transaction, sql);
    query->Open();
    return !query->Eof();
}

bool AnyOf(TDMGlobDB& db, TTransaction& transaction, const QStringList& statements) {
    for (const QString& sql : statements)
        if (AnyRow(db, transaction, sql))
            return true;
    return false;
}

struct TNewestClose {
    QDate Day; // invalid when no close is stored
    QDateTime Written;
    double Balance = 0;

    // What happened after the close counts against it: after the moment it was written, or,
    // for a close written on a later day, from the start of the day after its own, since a
    // past day's close counts that whole day and nothing after it. To the millisecond, as the
    // rows are stamped.
    QString After(const QString& column) const {
        if (!Day.isValid())
            return column + QStringLiteral(" is not null");
        const QDateTime dayEnd(Day.addDays(1), QTime(0, 0));
        if (Written.isValid() && Written < dayEnd)
            return column + QStringLiteral(" > ") + SqlTimestampMs(Written);
        return column + QStringLiteral(" >= ") + SqlDate(dayEnd.date());
    }
};

TNewestClose NewestClose(TDMGlobDB& db, TTransaction& transaction) {
    auto query = db.OpenQuery(
        transaction, QStringLiteral("select DATUM, D_UZAVRENI, POKLADNA from TRZBY order by DATUM desc"));
    query->Open();
    TNewestClose close;
    if (!query->Eof()) {
        close.Day = query->FieldByName(QStringLiteral("DATUM")).AsDate();
        close.Written = query->FieldByName(QStringLiteral("D_UZAVRENI")).AsDateTime();
        close.Balance = query->FieldByName(QStringLiteral("POKLADNA")).AsFloat();
    }
    return close;
}

QStringList ActivityBetween(const TNewestClose& last, const QString& t) {
    const auto between = [&](const QString& column) {
        return last.After(column) + QStringLiteral(" and ") + column + QStringLiteral(" < '") + t + u'\'';
    };
    return {
        QStringLiteral("select D_VYSTAVENI, D_STORNO from DOKLADY where (") +
            between(QStringLiteral("D_VYSTAVENI")) + QStringLiteral(") or (") +
            between(QStringLiteral("D_STORNO")) + u')',
        QStringLiteral("select DATUM from HOTOVOST where ") + between(QStringLiteral("DATUM")),
        QStringLiteral("select D_PUJCENI, D_VRACENI from PUJCKY where (") +
            between(QStringLiteral("D_PUJCENI")) + QStringLiteral(") or (") +
            between(QStringLiteral("D_VRACENI")) + u')',
        QStringLiteral("select D_PREVZETI, D_VRACENI from ZALOHY where (") +
            between(QStringLiteral("D_PREVZETI")) + QStringLiteral(") or (") +
            between(QStringLiteral("D_VRACENI")) + u')',
    };
}

QStringList ActivityAfter(const TNewestClose& last) {
    return {
        QStringLiteral("select D_VYSTAVENI, D_STORNO from DOKLADY where ") +
            last.After(QStringLiteral("D_VYSTAVENI")) + QStringLiteral(" or ") +
            last.After(QStringLiteral("D_STORNO")),
        QStringLiteral("select DATUM from HOTOVOST where ") + last.After(QStringLiteral("DATUM")),
        QStringLiteral("select D_PUJCENI, D_VRACENI from PUJCKY where ") +
            last.After(QStringLiteral("D_PUJCENI")) + QStringLiteral(" or ") +
            last.After(QStringLiteral("D_VRACENI")),
        QStringLiteral("select D_PREVZETI, D_VRACENI from ZALOHY where ") +
            last.After(QStringLiteral("D_PREVZETI")) + QStringLiteral(" or ") +
            last.After(QStringLiteral("D_VRACENI")),
    };
}

bool CommittedClose(TDMGlobDB& db, TTransaction& transaction, const QDate& day) {
    return AnyRow(db, transaction, QStringLiteral("select DATUM from TRZBY where DATUM = ") + SqlDate(day));
}

// Writes the idle day's empty close, stamped with the server's time of writing. A row another
// counter is writing at the same moment counts only once it is committed: that counter may
// still roll it back. Waits briefly for it; false when it is still uncommitted then.
bool CloseIdleDay(TDMGlobDB& db, TTransaction& transaction, const QDate& day, double balance, int kodUziv) {
    constexpr int kAttempts = 15;
    constexpr unsigned long kPauseMs = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (CommittedClose(db, transaction, day))
            return true;
        try {
            TCloseFigures idle;
            idle.CloseDate = day;
            idle.Opening = balance;
            InsertCloseRow(db, transaction, idle, kodUziv);
            return true;
        } catch (const EDatabaseError& e) {
            // Only this statement is undone; the rows written so far stay in the transaction.
            if (!e.WrittenByAnotherCounter())
                throw;
        }
        QThread::msleep(kPauseMs);
    }
    return false;
}

QDate FirstActivityDay(TDMGlobDB& db, TTransaction& transaction) {
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select min(D) as PRVNI from ("
                                                 "select min(D_VYSTAVENI) as D from DOKLADY union all "
                                                 "select min(D_STORNO) from DOKLADY union all "
                                                 "select min(DATUM) from HOTOVOST union all "
                                                 "select min(D_PUJCENI) from PUJCKY union all "
                                                 "select min(D_VRACENI) from PUJCKY union all "
                                                 "select min(D_PREVZETI) from ZALOHY union all "
                                                 "select min(D_VRACENI) from ZALOHY)"));
    query->Open();
    return query->Eof() ? QDate() : query->FieldByName(QStringLiteral("PRVNI")).AsDate();
}

// A payment stamped before midnight may still be in flight after it, invisible to the gate
// until it commits: an idle day closed meanwhile would leave it belonging to no close. Asked
// again once every money write in flight has ended; a row stamped before today is committed
// by then. Writes in flight all the while count as activity: the clerk closes the day.
bool PaidMeanwhile(TDMGlobDB& db, const TNewestClose& last, const QString& today) {
    bool paid = true;
    try {
        RunTillRead(db.DB,
                    [&](TTransaction& settled) { paid = AnyOf(db, settled, ActivityBetween(last, today)); });
    } catch (const ETillBusy&) {
    }
    return paid;
}

} // namespace

TCloseAnswer PreviousDayClosed(TDMGlobDB& db, TTransaction& transaction, int kodUziv) {
    TCommitIfStarted commit(transaction);
    const QDate today = db.ServerTime(transaction).date();
    const TNewestClose last = NewestClose(db, transaction);
    TCloseAnswer answer{true, last.Written};

    if (last.Day != today) {
        const QString t = DateToText(QStringLiteral("yyyy-mm-dd"), today);
        if (AnyOf(db, transaction, ActivityBetween(last, t)) || PaidMeanwhile(db, last, t)) {
            answer.Yes = false;
        } else if (last.Day.isValid()) {
            for (QDate day = today.addDays(-1); answer.Yes && day > last.Day; day = day.addDays(-1))
                answer.Yes = CloseIdleDay(db, transaction, day, last.Balance, kodUziv);
        }
    }
    commit.Done();
    return answer;
}

TCloseAnswer NoActivitySinceClose(TDMGlobDB& db, TTransaction& transaction) {
    TCommitIfStarted commit(transaction);
    const TNewestClose last = NewestClose(db, transaction);
    TCloseAnswer answer{!AnyOf(db, transaction, ActivityAfter(last)), last.Written};
    commit.Done();
    return answer;
}

TPreviousPeriod PreviousPeriod(TDMGlobDB& db, TTransaction& transaction) {
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select DATUM, POKLADNA from TRZBY order by DATUM desc"));
    query->Open();
    TPreviousPeriod period;
    if (query->Eof()) {
        // Starting at day zero would store a close for every day since 1899.
        period.CloseDate = FirstActivityDay(db, transaction);
        return period;
    }
    period.CloseDate = query->FieldByName(QStringLiteral("DATUM")).AsDate();
    query->Next();
    if (!query->Eof())
        period.Opening = query->FieldByName(QStringLiteral("POKLADNA")).AsFloat();
    return period;
}
