#include "DenUzavreni.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"

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

bool WrittenByAnotherCounter(const EDatabaseError& e) {
    switch (e.Code()) {
    case EDatabaseError::kUniqueKeyViolation:
    case EDatabaseError::kLockConflict:
    case EDatabaseError::kDeadlock:
        return true;
    default:
        return false;
    }
}

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

QString CloseTimeText(const QDateTime& written) {
    return DateTimeToText(QStringLiteral("yyyy-mm-dd"), QStringLiteral("hh:mm:ss"), QStringLiteral(" "),
                          written);
}

QStringList ActivityBetween(const QString& l, const QString& t) {
    const auto between = [&](const QString& column) {
        return column + QStringLiteral(" > '") + l + QStringLiteral("' and ") + column +
               QStringLiteral(" < '") + t + u'\'';
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
            between(QStringLiteral("D_PREVZETI")) + QStringLiteral(") or (D_VRACENI > '") + l +
            QStringLiteral("'  and D_VRACENI < '") + t + QStringLiteral("')"),
    };
}

QStringList ActivityAfter(const QString& l) {
    const auto after = [&](const QString& column) { return column + QStringLiteral(" > '") + l + u'\''; };
    return {
        QStringLiteral("select D_VYSTAVENI, D_STORNO from DOKLADY where ") +
            after(QStringLiteral("D_VYSTAVENI")) + QStringLiteral(" or ") + after(QStringLiteral("D_STORNO")),
        QStringLiteral("select DATUM from HOTOVOST where ") + after(QStringLiteral("DATUM")),
        QStringLiteral("select D_PUJCENI, D_VRACENI from PUJCKY where ") +
            after(QStringLiteral("D_PUJCENI")) + QStringLiteral(" or ") + after(QStringLiteral("D_VRACENI")),
        QStringLiteral("select D_PREVZETI, D_VRACENI from ZALOHY where ") +
            after(QStringLiteral("D_PREVZETI")) + QStringLiteral(" or ") + after(QStringLiteral("D_VRACENI")),
    };
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

} // namespace

TCloseAnswer PreviousDayClosed(TDMGlobDB& db, TTransaction& transaction, int kodUziv) {
    TCommitIfStarted commit(transaction);
    const QDate today = db.ServerTime(transaction).date();
    const TNewestClose last = NewestClose(db, transaction);
    TCloseAnswer answer{true, last.Written};

    if (last.Day != today) {
        const QString t = DateToText(QStringLiteral("yyyy-mm-dd"), today);
        if (AnyOf(db, transaction, ActivityBetween(CloseTimeText(last.Written), t))) {
            answer.Yes = false;
        } else if (last.Day.isValid() && last.Day < today.addDays(-1)) {
            // An idle day counts as closed at its last second, not at the time of this login:
            // a close stamped now would hide today's earlier work (of this or another counter)
            // from the next close check, and that day's takings would never be closed.
            for (QDate day = today.addDays(-1); day > last.Day; day = day.addDays(-1)) {
                const QString dayText = DateToText(QStringLiteral("yyyy-mm-dd"), day);
                try {
                    db.ExecSql(
                        transaction,
                        QStringLiteral(
                            "insert into TRZBY (DATUM, ZALOHA_PREV, ZALOHA_VRAC, NOSIC_PUJC, NOSIC_VRAC, "
                            "TRZBA, HOT_DOTACE, HOT_ODVOD, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values ('") +
                            dayText + QStringLiteral("', 0, 0, 0, 0, 0, 0, 0, ") + FloatToSql(last.Balance) +
                            QStringLiteral(", '") + dayText + QStringLiteral(" 23:59:59', ") +
                            QString::number(kodUziv) + u')');
                } catch (const EDatabaseError& e) {
                    // Another counter logging in at the same time has just written (or is writing)
                    // this day's empty close: the day counts as closed. Only this statement is
                    // undone; the rows written so far stay in the transaction.
                    if (!WrittenByAnotherCounter(e))
                        throw;
                }
            }
        }
    }
    commit.Done();
    return answer;
}

TCloseAnswer NoActivitySinceClose(TDMGlobDB& db, TTransaction& transaction) {
    TCommitIfStarted commit(transaction);
    const TNewestClose last = NewestClose(db, transaction);
    TCloseAnswer answer{!AnyOf(db, transaction, ActivityAfter(CloseTimeText(last.Written))), last.Written};
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
