#include "Documents.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Till.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace {

QString Day(const QDate& day) {
    return DateToText(QStringLiteral("yyyy-mm-dd"), day);
}

QString IssuedBetween(const QDate& first, const QDate& next) {
    return QStringLiteral("D_VYSTAVENI >= '") + Day(first) + QStringLiteral("' and D_VYSTAVENI < '") +
           Day(next) + u'\'';
}

QString PeriodCondition(const TDocFilter& filter) {
    switch (filter.period) {
    case TDocPeriod::Today:
        return QStringLiteral("D_VYSTAVENI >= CURRENT_DATE and D_VYSTAVENI < CURRENT_DATE + 1");
    case TDocPeriod::Week:
        return QStringLiteral("D_VYSTAVENI > CURRENT_DATE - 7");
    case TDocPeriod::Month: {
        const QDate first(filter.year, filter.month, 1);
        return IssuedBetween(first, first.addMonths(1));
    }
    case TDocPeriod::Year:
        return IssuedBetween(QDate(filter.year, 1, 1), QDate(filter.year + 1, 1, 1));
    case TDocPeriod::All:
        break;
    }
    return {};
}

// The loans paid by the receipt that are still out, found by medium and lending time and
// belonging to the receipt's customer.
QString OpenLoansSql(int kodDok) {
    return QStringLiteral("select distinct p.KOD_NOSIC, p.KOD_TITUL, n.D_ZRUSENI\n"
                          "from RADKY_DOK r\n"
                          "join DOKLADY d on (d.KOD_DOK = r.KOD_DOK)\n"
                          "join PUJCKY p on (p.KOD_NOSIC = r.KOD_NOSIC and p.D_PUJCENI = r.D_PUJCENI and "
                          "p.KOD_ZAK = d.KOD_ZAK)\n"
                          "join NOSICE n on (n.KOD_NOSIC = p.KOD_NOSIC)\n"
                          "where r.KOD_DOK = ") +
           QString::number(kodDok) + QStringLiteral(" and p.D_VRACENI is null");
}

bool LockConflict(const EDatabaseError& e) {
    return e.Code() == EDatabaseError::kLockConflict || e.Code() == EDatabaseError::kDeadlock;
}

struct TOpenLoan {
    int kodNosic = 0;
    int kodTitul = 0;
    bool retired = false;
};

class TCancellation final {
public:
    TCancellation(TDMGlobDB& db, TTransaction& tr, int kodDok, int kodUziv)
        : db_(db), tr_(tr), dok_(QString::number(kodDok)), user_(QString::number(kodUziv)) {}

    // The receipt is locked until the commit: a second counter cancelling the same receipt
    // fails at once, and after this commit it finds the receipt cancelled.
    TCancelResult Cancel() {
        TCancelResult result;
        QDateTime issued;
        {
            auto query = LockReceipt();
            if (query->Eof())
                return result;
            if (!query->FieldByName(QStringLiteral("D_STORNO")).IsNull()) {
                result.outcome = TCancelOutcome::AlreadyCancelled;
                return result;
            }
            issued = query->FieldByName(QStringLiteral("D_VYSTAVENI")).AsDateTime();
        }
        // The day may have been closed since the page was opened; no close can start before
        // this transaction ends.
        if (!Cancellable(issued, false, CancellationCutOff(db_, tr_))) {
            result.outcome = TCancelOutcome::PastCutOff;
            return result;
        }
        const std::vector<TExtension> extensions = Extensions();
        if (Overtaken(extensions)) {
            result.outcome = TCancelOutcome::ExtensionOvertaken;
            return result;
        }
        db_.ExecSql(tr_, QStringLiteral("update DOKLADY set D_STORNO = CURRENT_TIMESTAMP, UZIV_STORNO = ") +
                             user_ + QStringLiteral(" where KOD_DOK = ") + dok_);
        UndoExtensions(extensions);
        result.outcome = TCancelOutcome::Cancelled;
        return result;
    }

    // Closes the loans of a cancelled receipt that are still out.
    TCancelResult ReturnLoans() {
        TCancelResult result;
        {
            auto query = LockReceipt();
            if (query->Eof())
                return result;
            // Only the loans of a cancelled receipt go back this way.
            if (query->FieldByName(QStringLiteral("D_STORNO")).IsNull())
                return result;
        }
        for (const TOpenLoan& loan : OpenLoans())
            result.loansReturned += Return(loan);
        result.outcome = TCancelOutcome::Cancelled;
        return result;
    }

private:
    struct TExtension {
        QString kodNosic;
        QString dPujceni;
        QString puvodni;
        QString novy;
    };

    std::vector<TExtension> Extensions() {
        std::vector<TExtension> extensions;
        auto query = db_.OpenQuery(
            tr_, QStringLiteral("select KOD_NOSIC, D_PUJCENI, TERMIN_PUVODNI, TERMIN_NOVY from PRODLOUZENI "
                                "where KOD_DOK = ") +
                     dok_ + QStringLiteral(" and D_STORNO is null"));
        for (query->Open(); !query->Eof(); query->Next())
            extensions.push_back(
                {QString::number(query->FieldByName(QStringLiteral("KOD_NOSIC")).AsInteger()),
                 SqlTimestampMs(query->FieldByName(QStringLiteral("D_PUJCENI")).AsDateTime()),
                 SqlDate(query->FieldByName(QStringLiteral("TERMIN_PUVODNI")).AsDate()),
                 SqlDate(query->FieldByName(QStringLiteral("TERMIN_NOVY")).AsDate())});
        return extensions;
    }

    // An extended loan returned since was charged against its new due date, and one extended
    // again runs on from it: giving the days back would give away days the customer kept. The
    // loans stay locked until the commit.
    bool Overtaken(const std::vector<TExtension>& extensions) {
        for (const TExtension& e : extensions) {
            auto loan =
                db_.OpenQuery(tr_, QStringLiteral("select KOD_NOSIC from PUJCKY where KOD_NOSIC = ") +
                                       e.kodNosic + QStringLiteral(" and D_PUJCENI = ") + e.dPujceni +
                                       QStringLiteral(" and D_VRACENI is null and TERMIN_VRACENI = ") +
                                       e.novy + QStringLiteral(" for update with lock"));
            loan->Open();
            if (loan->Eof())
                return true;
        }
        return false;
    }

    // The days the receipt paid for are not the customer's any more: each extended loan, still
    // out with the extension's due date, gets its earlier one back.
    void UndoExtensions(const std::vector<TExtension>& extensions) {
        for (const TExtension& e : extensions)
            db_.ExecSql(tr_, QStringLiteral("update PUJCKY set TERMIN_VRACENI = ") + e.puvodni +
                                 QStringLiteral(" where KOD_NOSIC = ") + e.kodNosic +
                                 QStringLiteral(" and D_PUJCENI = ") + e.dPujceni);
        if (!extensions.empty())
            db_.ExecSql(
                tr_, QStringLiteral("update PRODLOUZENI set D_STORNO = CURRENT_TIMESTAMP where KOD_DOK = ") +
                         dok_ + QStringLiteral(" and D_STORNO is null"));
    }

    std::unique_ptr<TQuery> LockReceipt() {
        auto query = db_.OpenQuery(
            tr_, QStringLiteral("select KOD_ZAK, D_VYSTAVENI, D_STORNO from DOKLADY where KOD_DOK = ") +
                     dok_ + QStringLiteral(" for update with lock"));
        query->Open();
        if (!query->Eof())
            customer_ = QString::number(query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger());
        return query;
    }

    std::vector<TOpenLoan> OpenLoans() {
        std::vector<TOpenLoan> loans;
        auto query = db_.OpenQuery(tr_, OpenLoansSql(dok_.toInt()));
        query->Open();
        for (; !query->Eof(); query->Next())
            loans.push_back({query->FieldByName(QStringLiteral("KOD_NOSIC")).AsInteger(),
                             query->FieldByName(QStringLiteral("KOD_TITUL")).AsInteger(),
                             !query->FieldByName(QStringLiteral("D_ZRUSENI")).IsNull()});
        return loans;
    }

    // Closes the loan as the counter does at a return; a loan another counter took back
    // meanwhile is left alone. Returns the number of loans closed.
    int Return(const TOpenLoan& loan) {
        const QString nosic = QString::number(loan.kodNosic);
        const long long closed = db_.ExecSql(
            tr_,
            QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP, UZIV_VRACENO = ") + user_ +
                QStringLiteral(" where KOD_NOSIC = ") + nosic + QStringLiteral(" and KOD_ZAK = ") +
                customer_ +
                QStringLiteral(" and D_VRACENI is null and D_PUJCENI in (select r.D_PUJCENI from RADKY_DOK "
                               "r where r.KOD_DOK = ") +
                dok_ + QStringLiteral(" and r.KOD_NOSIC = ") + nosic + u')');
        // A retired medium does not go back to the shelf.
        if (closed > 0 && !loan.retired)
            db_.ExecSql(tr_, QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO + ") +
                                 QString::number(closed) + QStringLiteral(" where KOD_TITUL = ") +
                                 QString::number(loan.kodTitul));
        return static_cast<int>(closed);
    }

    TDMGlobDB& db_;
    TTransaction& tr_;
    const QString dok_;
    const QString user_;
    QString customer_;
};

} // namespace

TMonth OpeningMonth(const QDate& today) {
    const TMonth month{today.year(), today.month()};
    return today.day() < 7 ? month.Previous() : month;
}

TMonth SummaryMonth(const TDocFilter& filter, const QDate& today) {
    if (filter.period == TDocPeriod::Month)
        return {filter.year, filter.month};
    return TMonth{today.year(), today.month()}.Previous();
}

QString SummaryCaption(TMonth month) {
    return QStringLiteral("Sou&hrn ") + QString::asprintf("%d.%d", month.Month, month.Year);
}

QString DocumentsSql(const TDocFilter& filter) {
    QStringList conditions;
    if (const QString period = PeriodCondition(filter); !period.isEmpty())
        conditions << period;
    if (!filter.issued)
        conditions << QStringLiteral("d.D_STORNO is not null");
    // Through an expression: the index of D_STORNO is null in nearly every row of the shop's
    // years, and reading it would cost more the older the shop gets.
    if (!filter.cancelled)
        conditions << QStringLiteral("d.D_STORNO + 0 is null");
    // A missing first name (the shipped administrator has none) leaves the other part of a name,
    // not an empty one.
    QStringList lines{
        QStringLiteral("select d.KOD_DOK, d.CISLO_DOK, d.KOD_ZAK, d.D_UZP, d.D_VYSTAVENI, d.D_STORNO, ") +
            SqlFullName(QStringLiteral("uv")) + QStringLiteral(" as UZIV_VYSTAVIL, ") +
            SqlFullName(QStringLiteral("us")) +
            QStringLiteral(
                " as UZIV_STORNO, d.C_ZAKLAD_A, d.C_ZAKLAD_B, d.C_ZAKLAD_0, d.C_DPH_A, d.C_DPH_B, "
                "d.CENA, d.CENA_DPH, trim(coalesce(z.PRIJMENI, '') || ' ' || coalesce(z.JMENO, '')) "
                "as ZAKAZNIK, z.EAN_KOD"),
        QStringLiteral("from DOKLADY d"), QStringLiteral("inner join ZAKAZNICI z on (d.KOD_ZAK = z.KOD_ZAK)"),
        QStringLiteral("inner join UZIVATELE uv on (d.UZIV_VYSTAVIL = uv.KOD_UZIV)"),
        QStringLiteral("left join UZIVATELE us on (d.UZIV_STORNO = us.KOD_UZIV)")};
    if (!conditions.isEmpty())
        lines << QStringLiteral("where ") + conditions.join(QStringLiteral(" and "));
    lines << QStringLiteral("order by CISLO_DOK desc");
    return lines.join(u'\n');
}

QString DocumentLinesSql(int kodDok) {
    // In the order the lines were written, which is the order of the visit. The few lines of one
    // receipt are sorted after the receipt's index found them: ordered by the key itself, the
    // optimiser walks the key's index through every line the shop ever wrote.
    return QStringLiteral(
               "select r.CENA, r.POCET_DNI, r.DPH, r.CENA_DPH, r.CENA_RADKU, r.CENA_RADKU_DPH, r.D_PUJCENI, "
               "r.D_VRACENI, t.NAZEV_CESKY, n.EAN_KOD\n"
               "from RADKY_DOK r\n"
               "inner join TITULY t on (r.KOD_TITUL = t.KOD_TITUL)\n"
               "inner join NOSICE n on (r.KOD_NOSIC = n.KOD_NOSIC)\n"
               "where KOD_DOK = ") +
           QString::number(kodDok) + QStringLiteral("\norder by r.KOD_RAD + 0");
}

QDateTime CancellationCutOff(TDMGlobDB& db, TTransaction& transaction) {
    {
        auto query = db.OpenQuery(transaction,
                                  QStringLiteral("select D_UZAVRENI from TRZBY where DATUM = CURRENT_DATE"));
        query->Open();
        if (!query->Eof())
            return query->FieldByName(QStringLiteral("D_UZAVRENI")).AsDateTime();
    }
    auto query = db.OpenQuery(transaction, QStringLiteral("select CURRENT_DATE as DNES from RDB$DATABASE"));
    query->Open();
    return QDateTime(query->FieldByName(QStringLiteral("DNES")).AsDate(), QTime(0, 0));
}

bool Cancellable(const QDateTime& dVystaveni, bool cancelled, const QDateTime& cutOff) {
    return !cancelled && dVystaveni.isValid() && cutOff.isValid() && dVystaveni > cutOff;
}

bool HasOpenLoans(TDMGlobDB& db, TTransaction& transaction, int kodDok) {
    auto query = db.OpenQuery(transaction, OpenLoansSql(kodDok));
    query->Open();
    return !query->Eof();
}

namespace {

TCancelResult ChangeReceipt(TDMGlobDB& db, const std::function<TCancelResult(TTransaction&)>& change) {
    TCancelResult result;
    try {
        RunTillWrite(db.DB, [&](TTransaction& tr) { result = change(tr); });
    } catch (const ETillBusy&) {
        result = {TCancelOutcome::Closing, 0};
    } catch (const EDatabaseError& e) {
        if (!LockConflict(e))
            throw;
        result = {TCancelOutcome::Locked, 0};
    }
    return result;
}

} // namespace

TCancelResult CancelDocument(TDMGlobDB& db, int kodDok, int kodUziv) {
    return ChangeReceipt(db,
                         [&](TTransaction& tr) { return TCancellation(db, tr, kodDok, kodUziv).Cancel(); });
}

TCancelResult ReturnCancelledLoans(TDMGlobDB& db, int kodDok, int kodUziv) {
    return ChangeReceipt(
        db, [&](TTransaction& tr) { return TCancellation(db, tr, kodDok, kodUziv).ReturnLoans(); });
}

TCancelResult CancelDocument(TDMGlobDB& db, int kodDok, bool returnLoans, int kodUziv) {
    TCancelResult result = CancelDocument(db, kodDok, kodUziv);
    if (result.outcome != TCancelOutcome::Cancelled || !returnLoans)
        return result;
    const TCancelResult returned = ReturnCancelledLoans(db, kodDok, kodUziv);
    result.loansReturned = returned.loansReturned;
    return result;
}

QString CancelRefusalText(TCancelOutcome outcome, int cisloDok) {
    const QString number = QString::number(cisloDok);
    switch (outcome) {
    case TCancelOutcome::Cancelled:
        break;
    case TCancelOutcome::AlreadyCancelled:
        return QStringLiteral("Doklad číslo ") + number +
               QStringLiteral(" byl mezitím stornován na jiné pokladně.\rNic nebylo změněno.");
    case TCancelOutcome::PastCutOff:
        return QStringLiteral("Doklad číslo ") + number +
               QStringLiteral(" již nelze stornovat: stornovat lze jen doklady vystavené dnes po poslední "
                              "uzávěrce.\rNic nebylo změněno.");
    case TCancelOutcome::Locked:
        return QStringLiteral("Doklad číslo ") + number +
               QStringLiteral(" nebo jeho půjčky právě mění jiná pokladna.\rNic nebylo změněno, zkuste to "
                              "prosím znovu.");
    case TCancelOutcome::Closing:
        return QStringLiteral("Právě probíhá uzávěrka pokladny, doklad číslo ") + number +
               QStringLiteral(" nelze nyní stornovat ani vrátit jeho půjčky.\rNic nebylo změněno, zkuste to "
                              "prosím znovu za chvíli.");
    case TCancelOutcome::ExtensionOvertaken:
        return QStringLiteral("Doklad číslo ") + number +
               QStringLiteral(
                   " již nelze stornovat: výpůjčka, kterou prodloužil, byla od té doby vrácena nebo "
                   "znovu prodloužena (pak nejdříve stornujte doklad pozdějšího prodloužení)."
                   "\rNic nebylo změněno.");
    case TCancelOutcome::Missing:
        return QStringLiteral("Doklad číslo ") + number +
               QStringLiteral(" nebyl nalezen.\rNic nebylo změněno.");
    }
    return {};
}
