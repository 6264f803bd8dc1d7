#include "Deposits.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Money.h"
#include "Till.h"

#include <functional>

namespace {

QString Key(int key) {
    return QString::number(key);
}

// Nearly every row is returned, but the open ones of a big shop still number thousands: the
// "+ 0" keeps the optimiser off the return-date index, so the customer's index alone finds them.
QString OpenRowsOf(int kodZak) {
    return QStringLiteral("KOD_ZAK = ") + Key(kodZak) + QStringLiteral(" and D_VRACENI + 0 is null");
}

QString InsertRowSql(int kodZak, const QString& at, int kodUziv, double castka, const QString& note) {
    return QStringLiteral(
               "insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA, POZN_PREV) values (") +
           Key(kodZak) + QStringLiteral(", ") + at + QStringLiteral(", ") + Key(kodUziv) +
           QStringLiteral(", ") + FloatToSql(castka) + QStringLiteral(", ") + SqlText(note) + u')';
}

} // namespace

const QString kNoteToppedUp = QStringLiteral(">> Připočteno k novému převzetí další zálohy.");
const QString kNotePartReturn = QStringLiteral(">> Vytvořeno při vracené necelé zálohy.");

QString OpenDepositsSql(int kodZak) {
    return QStringLiteral("select sum(CASTKA) as CASTKA from ZALOHY where ") + OpenRowsOf(kodZak);
}

double OpenDeposits(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    const auto query = db.OpenQuery(transaction, OpenDepositsSql(kodZak));
    query->Open();
    return query->FieldByName(QStringLiteral("CASTKA")).AsFloat();
}

// A row taken or returned by a user who is gone still shows; a missing first name leaves the
// surname.
QString DepositRowsSql(int kodZak) {
    return QStringLiteral("select z.D_PREVZETI, z.CASTKA, z.POZN_PREV, ") +
           SqlFullName(QStringLiteral("up")) +
           QStringLiteral(" as UZIV_PREVZAL, z.D_VRACENI, z.POZN_VRAC, ") +
           SqlFullName(QStringLiteral("uv")) +
           QStringLiteral(" as UZIV_VRACENO from ZALOHY z left join UZIVATELE up on (z.UZIV_PREVZAL = "
                          "up.KOD_UZIV) left join UZIVATELE uv on (z.UZIV_VRACENO = uv.KOD_UZIV) where "
                          "z.KOD_ZAK = ") +
           Key(kodZak) + QStringLiteral(" order by z.D_PREVZETI desc");
}

std::vector<TDepositRow> LoadDepositRows(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    const auto query = db.OpenQuery(transaction, DepositRowsSql(kodZak));
    query->Open();
    std::vector<TDepositRow> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        TDepositRow row;
        row.dPrevzeti = field("D_PREVZETI").AsDateTime();
        row.uzivPrevzal = field("UZIV_PREVZAL").AsString();
        row.castka = field("CASTKA").AsFloat();
        row.poznPrev = field("POZN_PREV").AsString();
        if (!field("D_VRACENI").IsNull())
            row.dVraceni = field("D_VRACENI").AsDateTime();
        row.uzivVraceno = field("UZIV_VRACENO").AsString();
        row.poznVrac = field("POZN_VRAC").AsString();
        rows.push_back(std::move(row));
    }
    return rows;
}

namespace {

const QString kConflict =
    QStringLiteral("Zálohy zákazníka právě mění jiná pokladna.\rNic nebylo uloženo, zkuste to prosím znovu.");

bool HeldByAnotherCounter(const EDatabaseError& e) {
    return e.Code() == EDatabaseError::kLockConflict || e.Code() == EDatabaseError::kDeadlock;
}

QString HeldText(const TDepositChange& change, double held) {
    return QStringLiteral("Zákazník má převzaté zálohy jen ve výši ") + MoneyText(held, change.currency) +
           QStringLiteral(".\r");
}

// The customer's open rows, locked for this transaction: another counter re-booking them now
// makes this fail at once, and the rows counted are exactly the rows closed. A customer without
// an open row offers nothing to lock, so the customer's own row is held first: two counters
// taking a first deposit at once would otherwise each open a row.
class TOpenRows final {
public:
    TOpenRows(TDMGlobDB& db, TTransaction& tr, int kodZak) {
        db.OpenQuery(tr, QStringLiteral("select KOD_ZAK from ZAKAZNICI where KOD_ZAK = ") + Key(kodZak) +
                             QStringLiteral(" for update with lock"))
            ->Open();
        const auto query =
            db.OpenQuery(tr, QStringLiteral("select RDB$DB_KEY as RADEK, CASTKA from ZALOHY where ") +
                                 OpenRowsOf(kodZak) + QStringLiteral(" for update with lock"));
        query->Open();
        for (; !query->Eof(); query->Next()) {
            keys_.push_back(query->FieldByName(QStringLiteral("RADEK")).AsBytes());
            held_ += query->FieldByName(QStringLiteral("CASTKA")).AsFloat();
        }
        held_ = RoundTo(0.01, held_);
    }

    double Held() const { return held_; }

    void Close(TDMGlobDB& db, TTransaction& tr, const QString& at, int kodUziv, const QString& note) const {
        for (const QByteArray& key : keys_)
            db.ExecSql(tr, QStringLiteral("update ZALOHY set D_VRACENI = ") + at +
                               QStringLiteral(", UZIV_VRACENO = ") + Key(kodUziv) +
                               QStringLiteral(", POZN_VRAC = ") + SqlText(note) +
                               QStringLiteral(" where RDB$DB_KEY = x'") + QString::fromLatin1(key.toHex()) +
                               u'\'');
    }

private:
    std::vector<QByteArray> keys_;
    double held_ = 0;
};

// One save: reads and locks the open rows, asks the caller what to write (or why not), and
// commits it; nothing is written when the caller refuses or another counter holds the rows.
TDepositSave
Rebook(TDMGlobDB& db, const TDepositChange& change,
       const std::function<QString(TTransaction&, const TOpenRows&, const QString&, TDepositSave&)>& write) {
    TDepositSave save;
    try {
        TQuery::CheckStorable(change.note);
    } catch (const ECinemonError& e) {
        // A note the database cannot hold is the clerk's to mend, with the input kept.
        save.message = e.Message();
        return save;
    }
    try {
        TTillWrite till(db.DB);
        TTransaction& tr = till.Transaction();
        const TOpenRows open(db, tr, change.kodZak);
        save.heldBefore = open.Held();
        // The rows closed and the row opened carry one time, so the till's figures of a day
        // always see both halves of a re-booking.
        const QString at = SqlTimestampMs(db.ServerTime(tr));
        save.message = write(tr, open, at, save);
        if (!save.message.isEmpty()) {
            tr.Rollback();
            return save;
        }
        tr.Commit();
    } catch (const ETillBusy& e) {
        save.message = e.Message();
        return save;
    } catch (const EDatabaseError& e) {
        if (!HeldByAnotherCounter(e))
            throw;
        save.message = kConflict;
        return save;
    }
    save.saved = true;
    return save;
}

} // namespace

TDepositSave TakeDeposit(TDMGlobDB& db, const TDepositChange& change) {
    return Rebook(
        db, change, [&](TTransaction& tr, const TOpenRows& open, const QString& at, TDepositSave& save) {
            save.heldAfter = RoundTo(0.01, open.Held() + change.amount);
            if (save.heldAfter < 0)
                return HeldText(change, open.Held()) +
                       QStringLiteral("Záloha nemůže klesnout pod nulu.\rNic nebylo uloženo.");
            open.Close(db, tr, at, change.kodUziv, kNoteToppedUp);
            db.ExecSql(tr, InsertRowSql(change.kodZak, at, change.kodUziv, save.heldAfter, change.note));
            return QString();
        });
}

TDepositSave ReturnDeposit(TDMGlobDB& db, const TDepositChange& change) {
    return Rebook(
        db, change, [&](TTransaction& tr, const TOpenRows& open, const QString& at, TDepositSave& save) {
            save.heldAfter = RoundTo(0.01, open.Held() - change.amount);
            if (save.heldAfter < 0)
                return HeldText(change, open.Held()) + QStringLiteral("Vrátit nelze ") +
                       MoneyText(change.amount, change.currency) + QStringLiteral(".\rNic nebylo uloženo.");
            open.Close(db, tr, at, change.kodUziv, change.note);
            if (save.heldAfter != 0)
                db.ExecSql(tr,
                           InsertRowSql(change.kodZak, at, change.kodUziv, save.heldAfter, kNotePartReturn));
            return QString();
        });
}
