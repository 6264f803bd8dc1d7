#include "VisitPayment.h"

#include "BorrowingBlock.h"
#include "Extension.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "PriceSettings.h"
#include "Till.h"
#include "Visit.h"

#include <QLocale>

namespace {

QString Key(int key) {
    return QString::number(key);
}

QString Day(const QDate& date) {
    return SqlDate(date);
}

// Writes one visit; each statement's order is the order the receipt and the counters need.
class TPaymentWriter {
public:
    TPaymentWriter(TDMGlobDB& db, TSpecCena& prices, TTransaction& tr, const TVisit& visit, int kodUziv)
        : db_(db), prices_(prices), tr_(tr), visit_(visit), user_(Key(kodUziv)),
          customer_(Key(visit.KodZak())) {}

    TPaymentResult Write() {
        // To the millisecond: the loan and its receipt line are paired by this value later, and
        // a loan of the same medium in the same second is another receipt's.
        const QDateTime ts = db_.ServerTime(tr_);
        ts_ = SqlTimestampMs(ts);
        result_.written = ts;
        result_.receipt = visit_.ReceiptNeeded();
        if (result_.receipt) {
            result_.kodDok = db_.GenKodDok(tr_);
            Exec(QStringLiteral(
                     "insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL) values (") +
                 Key(result_.kodDok) + QStringLiteral(", ") + customer_ + QStringLiteral(", CURRENT_DATE, ") +
                 ts_ + QStringLiteral(", ") + user_ + u')');
        }
        for (const TCartRow& row : visit_.Cart()) {
            if (row.IsNewLoan())
                WriteLoan(row);
            else if (row.IsBackToday())
                WriteReturn(row);
            else if (row.IsExtended())
                WriteExtension(row);
        }
        // After this visit's returns and extensions: a medium brought back now lifts the block.
        if (visit_.NewLoans() > 0)
            if (const std::optional<TBlockingLoan> blocking = BlockingLoanOnRecord(db_, tr_, visit_.KodZak()))
                throw EVisitConflict(BorrowingBlockedText(*blocking) +
                                     QStringLiteral("\rNic nebylo uloženo."));
        if (result_.receipt)
            result_.total = db_.DokCena(tr_, result_.kodDok);
        WriteReservations();
        return result_;
    }

private:
    void Exec(const QString& sql) { db_.ExecSql(tr_, sql); }
    bool Exists(const QString& sql) {
        const auto query = db_.OpenQuery(tr_, sql);
        query->Open();
        return !query->Eof();
    }
    void Line(const TCartRow& row, const QString& from, const QString& to, double gross, int days) {
        const TVatSplit vat = SplitVat(prices_, gross);
        Exec(QStringLiteral(
                 "insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, D_VRACENI, CENA, DPH, "
                 "CENA_DPH, POCET_DNI) values (") +
             Key(result_.kodDok) + QStringLiteral(", ") + Key(row.kodNosic) + QStringLiteral(", ") +
             Key(row.kodTitul) + QStringLiteral(", ") + from + QStringLiteral(", ") + to +
             QStringLiteral(", ") + FloatToSql(vat.cena) + QStringLiteral(", ") + SqlText(vat.dph) +
             QStringLiteral(", ") + FloatToSql(vat.cenaDph) + QStringLiteral(", ") + Key(days) + u')');
    }

    void WriteLoan(const TCartRow& row) {
        // The medium's row stays locked until the commit, so a second counter lending it waits
        // for nothing: it fails at once, and after this commit it sees the loan.
        if (!Exists(QStringLiteral("select KOD_NOSIC from NOSICE where KOD_NOSIC = ") + Key(row.kodNosic) +
                    QStringLiteral(" and D_ZRUSENI is null for update with lock")))
            throw EVisitConflict(QStringLiteral("Nosič ") + row.eanKod + QStringLiteral(" (") +
                                     row.nazevCesky +
                                     QStringLiteral(") byl mezitím vyřazen.\rNic nebylo uloženo."),
                                 row.kodNosic);
        if (Exists(QStringLiteral("select KOD_NOSIC from PUJCKY where KOD_NOSIC = ") + Key(row.kodNosic) +
                   QStringLiteral(" and D_VRACENI is null")))
            throw EVisitConflict(
                QStringLiteral("Nosič ") + row.eanKod + QStringLiteral(" (") + row.nazevCesky +
                    QStringLiteral(") byl mezitím půjčen na jiné pokladně.\rNic nebylo uloženo."),
                row.kodNosic);
        Exec(QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, UZIV_PUJCIL, "
                            "D_PUJCENI, CENA_PUJCKA, TERMIN_VRACENI) values (") +
             Key(row.kodTitul) + QStringLiteral(", ") + Key(row.kodNosic) + QStringLiteral(", ") + customer_ +
             QStringLiteral(", ") + Day(row.terminPujceni) + QStringLiteral(", ") + user_ +
             QStringLiteral(", ") + ts_ + QStringLiteral(", ") + FloatToSql(row.cenaPujcka) +
             QStringLiteral(", ") + Day(row.terminVraceni) + u')');
        Exec(QStringLiteral("delete from REZERVACE where KOD_ZAK = ") + customer_ +
             QStringLiteral(" and KOD_TITUL = ") + Key(row.kodTitul) +
             QStringLiteral(" and TERMIN_PUJCENI <= CURRENT_DATE"));
        Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO - 1 where KOD_TITUL = ") +
             Key(row.kodTitul));
        Exec(QStringLiteral("update ZAKAZNICI set POCET_PUJCEK = POCET_PUJCEK + 1 where KOD_ZAK = ") +
             customer_);
        Line(row, ts_, Day(row.terminVraceni), row.cenaPujcka, row.pocetDni);
    }

    void WriteReturn(const TCartRow& row) {
        const QString openLoan = QStringLiteral("KOD_NOSIC = ") + Key(row.kodNosic) +
                                 QStringLiteral(" and KOD_ZAK = ") + customer_ +
                                 QStringLiteral(" and D_VRACENI is null");
        // Locked and still open: a return booked at another counter meanwhile is not booked again.
        if (!Exists(QStringLiteral("select KOD_NOSIC from PUJCKY where ") + openLoan +
                    QStringLiteral(" for update with lock")))
            throw EVisitConflict(
                QStringLiteral("Nosič ") + row.eanKod + QStringLiteral(" (") + row.nazevCesky +
                    QStringLiteral(") byl mezitím vrácen na jiné pokladně.\rNic nebylo uloženo."),
                row.kodNosic);
        Exec(QStringLiteral("update PUJCKY set D_VRACENI = ") + ts_ + QStringLiteral(", UZIV_VRACENO = ") +
             user_ + QStringLiteral(", INFO_VRACENI = ") + SqlText(row.infoVraceni) +
             QStringLiteral(" where ") + openLoan);
        // A retired medium does not go back to the shelf.
        if (Exists(QStringLiteral("select D_ZRUSENI from NOSICE where KOD_NOSIC = ") + Key(row.kodNosic) +
                   QStringLiteral(" and D_ZRUSENI is null")))
            Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO + 1 where KOD_TITUL = ") +
                 Key(row.kodTitul));
        if (result_.receipt && row.IsLate())
            Line(row, Day(row.terminVraceni), Day(row.dVraceni), row.cenaPujcka,
                 LateDays(prices_, row.terminVraceni, row.dVraceni));
        if (result_.receipt && row.IsComplaint())
            Line(row, SqlTimestampMs(row.dPujceni), Day(row.terminVraceni), -row.cenaPujcka, row.pocetDni);
        if (row.IsComplaint())
            Exec(QStringLiteral(
                     "insert into REKLAMACE (KOD_NOSIC, KOD_TITUL, KOD_ZAK, D_PUJCENI, D_REKLAMACE, DUVOD, "
                     "UZIV_PREVZAL) values (") +
                 Key(row.kodNosic) + QStringLiteral(", ") + Key(row.kodTitul) + QStringLiteral(", ") +
                 customer_ + QStringLiteral(", ") + SqlTimestampMs(row.dPujceni) +
                 QStringLiteral(", CURRENT_TIMESTAMP, ") + SqlText(row.duvodReklamace) +
                 QStringLiteral(", ") + user_ + u')');
    }

    void WriteExtension(const TCartRow& row) {
        const QString loan = QStringLiteral("KOD_NOSIC = ") + Key(row.kodNosic) +
                             QStringLiteral(" and KOD_ZAK = ") + customer_ +
                             QStringLiteral(" and D_VRACENI is null and D_PUJCENI = ") +
                             SqlTimestampMs(row.dPujceni);
        // The loan stays locked until the commit: a second counter extending or returning it
        // fails at once, and after this commit it sees the new due date.
        {
            const auto query = db_.OpenQuery(tr_, QStringLiteral("select TERMIN_VRACENI from PUJCKY where ") +
                                                      loan + QStringLiteral(" for update with lock"));
            query->Open();
            if (query->Eof())
                throw EVisitConflict(
                    QStringLiteral("Nosič ") + row.eanKod + QStringLiteral(" (") + row.nazevCesky +
                        QStringLiteral(") byl mezitím vrácen na jiné pokladně.\rNic nebylo uloženo."),
                    row.kodNosic);
            if (query->FieldByName(QStringLiteral("TERMIN_VRACENI")).AsDate() != row.terminVraceni)
                throw EVisitConflict(
                    QStringLiteral("Výpůjčka nosiče ") + row.eanKod + QStringLiteral(" (") + row.nazevCesky +
                        QStringLiteral(") má mezitím jiný termín vrácení (prodloužení nebo "
                                       "jeho storno na jiné pokladně).\rNic nebylo uloženo."),
                    row.kodNosic);
        }
        // The title's row is locked as a reservation being written locks it, so a reservation of
        // the same days made at another counter meanwhile either is counted here or fails.
        const int pocetCelkem = MediaOfTitle(db_, tr_, row.kodTitul, true);
        if (const std::optional<QDate> needed = DayNeededByOthers(
                db_, tr_, row.kodTitul, visit_.KodZak(), pocetCelkem,
                ExtensionStart(row.terminVraceni, result_.written.date()), row.prodlouzeniDo))
            throw EVisitConflict(ExtensionRefusedText(*needed) + QStringLiteral("\rNic nebylo uloženo."),
                                 row.kodNosic);
        Exec(QStringLiteral("update PUJCKY set TERMIN_VRACENI = ") + Day(row.prodlouzeniDo) +
             QStringLiteral(" where ") + loan);
        Exec(QStringLiteral(
                 "insert into PRODLOUZENI (KOD_NOSIC, KOD_ZAK, D_PUJCENI, TERMIN_PUVODNI, TERMIN_NOVY, "
                 "KOD_DOK, D_PRODLOUZENI, UZIV_PRODLOUZIL) values (") +
             Key(row.kodNosic) + QStringLiteral(", ") + customer_ + QStringLiteral(", ") +
             SqlTimestampMs(row.dPujceni) + QStringLiteral(", ") + Day(row.terminVraceni) +
             QStringLiteral(", ") + Day(row.prodlouzeniDo) + QStringLiteral(", ") +
             (result_.receipt ? Key(result_.kodDok) : QStringLiteral("null")) + QStringLiteral(", ") + ts_ +
             QStringLiteral(", ") + user_ + u')');
        const int days = ExtensionDays(prices_, row.terminPujceni, row.terminVraceni, row.prodlouzeniDo);
        if (result_.receipt && days > 0)
            Line(row, Day(row.terminVraceni), Day(row.prodlouzeniDo), row.cenaPujcka, days);
    }

    // Only what the clerk changed: cancelled rows go, changed rows are written again on their
    // new days, new rows are added. Reservations another counter made meanwhile stay untouched.
    void WriteReservations() {
        for (const TReservationRow& gone : visit_.Cancelled())
            Exec(QStringLiteral("delete from REZERVACE where ") + StoredRow(gone));
        // Every moved row leaves its old day first: one may move onto the day another leaves.
        for (const TReservationRow& row : visit_.Reservations())
            if (row.IsStored() && row.IsPending())
                Exec(QStringLiteral("delete from REZERVACE where ") + StoredRow(row));
        for (const TReservationRow& row : visit_.Reservations()) {
            // Fulfilled by one of this visit's loans: nothing to keep.
            if (!row.IsPending() || row.pujceno)
                continue;
            CheckStillFree(row);
            CheckNotHeld(row);
            Exec(QStringLiteral(
                     "insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, UZIV_REZERV, D_REZERV, "
                     "TERMIN_VRACENI) values (") +
                 Key(row.kodTitul) + QStringLiteral(", ") + customer_ + QStringLiteral(", ") +
                 Day(row.terminPujceni) + QStringLiteral(", ") + user_ + QStringLiteral(", ") + ts_ +
                 QStringLiteral(", ") + Day(row.terminVraceni) + u')');
        }
    }

    QString StoredRow(const TReservationRow& row) const {
        return QStringLiteral("KOD_ZAK = ") + customer_ + QStringLiteral(" and KOD_TITUL = ") +
               Key(row.kodTitul) + QStringLiteral(" and TERMIN_PUJCENI = ") + Day(row.storedTerminPujceni);
    }

    // Another counter may have reserved the same title from the same day for this customer.
    void CheckNotHeld(const TReservationRow& row) {
        if (Exists(QStringLiteral("select KOD_TITUL from REZERVACE where KOD_ZAK = ") + customer_ +
                   QStringLiteral(" and KOD_TITUL = ") + Key(row.kodTitul) +
                   QStringLiteral(" and TERMIN_PUJCENI = ") + Day(row.terminPujceni)))
            throw EVisitConflict(QStringLiteral("Titul ") + row.nazevCesky +
                                 QStringLiteral(" má zákazník mezitím rezervován od ") +
                                 QLocale().toString(row.terminPujceni, QLocale::ShortFormat) +
                                 QStringLiteral(".\rNic nebylo uloženo."));
    }

    // Another counter may have booked the last free medium of the first day since the clerk chose
    // it. The title's row is locked first: a second counter counting at the same moment fails at
    // once instead of counting without the reservation this one is writing.
    void CheckStillFree(const TReservationRow& row) {
        Exists(QStringLiteral("select KOD_TITUL from TITULY where KOD_TITUL = ") + Key(row.kodTitul) +
               QStringLiteral(" for update with lock"));
        const auto query = db_.OpenQuery(
            tr_,
            QStringLiteral("select count(r.KOD_TITUL) as POCET, max(t.POCET_CELKEM) as CELKEM from TITULY t "
                           "left join REZERVACE r on (r.KOD_TITUL = t.KOD_TITUL and r.KOD_ZAK <> ") +
                customer_ + QStringLiteral(" and r.TERMIN_PUJCENI <= ") + Day(row.terminPujceni) +
                QStringLiteral(" and r.TERMIN_VRACENI >= ") + Day(row.terminPujceni.addDays(1)) +
                QStringLiteral(") where t.KOD_TITUL = ") + Key(row.kodTitul));
        query->Open();
        if (FullyReserved(query->FieldByName(QStringLiteral("POCET")).AsInteger(),
                          query->FieldByName(QStringLiteral("CELKEM")).AsInteger()))
            throw EVisitConflict(
                QStringLiteral("Titul ") + row.nazevCesky +
                QStringLiteral(" byl mezitím rezervován pro jiného zákazníka.\rNic nebylo uloženo."));
    }

    TDMGlobDB& db_;
    TSpecCena& prices_;
    TTransaction& tr_;
    const TVisit& visit_;
    const QString user_;
    const QString customer_;
    QString ts_;
    TPaymentResult result_;
};

} // namespace

TPaymentResult PayVisit(TDMGlobDB& db, TSpecCena& prices, const TVisit& visit, int kodUziv) {
    TPaymentResult result;
    try {
        RunTillWrite(db.DB, [&](TTransaction& tr) {
            result = TPaymentWriter(db, prices, tr, visit, kodUziv).Write();
        });
    } catch (const ETillBusy& busy) {
        throw EVisitConflict(busy.Message());
    } catch (const EDatabaseError& e) {
        // Another counter's payment holds a row this one changes (a medium, a loan, the title's
        // shelf count, the customer's loan count) and the transaction does not wait: everything
        // was rolled back, so the clerk only has to pay again. The same when another counter
        // deleted a reservation this payment deletes in the instant between the engine reading
        // and deleting it; the engine has no code of its own for that, only its text.
        const bool erasedMeanwhile = e.Message().contains(QStringLiteral("cannot update erased record"));
        // A reservation another counter is writing for the customer at this moment ends as a
        // duplicate of the key.
        const bool doubled =
            e.Code() == EDatabaseError::kUniqueKeyViolation || e.Code() == EDatabaseError::kDuplicateValue;
        if (e.Code() != EDatabaseError::kLockConflict && e.Code() != EDatabaseError::kDeadlock &&
            !erasedMeanwhile && !doubled)
            throw;
        throw EVisitConflict(
            QStringLiteral("Jiná pokladna právě ukládá platbu se stejnými nosiči, tituly nebo "
                           "zákazníkem.\rNic nebylo uloženo, zaplaťte znovu."));
    }
    return result;
}
