#include "VisitPayment.h"
#include "Documents.h"
#include "LendingFixture.h"
#include "Visit.h"
#include "VisitLoad.h"

#include <QLocale>

#include <functional>

namespace {

// Whole visits written by the payment on a real database; a second connection plays the other
// counter of the shop.
class VisitPayment : public LendingShop {
protected:
    VisitPayment() {
        kodUziv = database.AdminKey();
        today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
        database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, POCET_PUJCEK) values "
                                     "(501, 'Jan', 'Novák', 9)"));
        database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, POCET_PUJCEK) values "
                                     "(502, 'Eva', 'Malá', 0)"));
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 2);
        AddTitle(4, QStringLiteral("Kolja"), QStringLiteral("V"), 20, 1, 0);
        AddTitle(5, QStringLiteral("Samotáři"), QStringLiteral("D"), 30, 1, 0);
        AddTitle(6, QStringLiteral("Návrat idiota"), QStringLiteral("V"), 20, 1, 1);
        AddMedium(1, 3);
        AddMedium(2, 3);
        AddMedium(4, 4);
        AddMedium(5, 5);
        AddMedium(7, 6);
        LendOn(4, 4, 501, -3, -1, 20);
        LendOn(5, 5, 501, -2, 1, 30);
        Reserve(3, 501, today);
        Reserve(4, 501, today.addDays(5));
    }
    // "Návrat idiota" (its only medium) reserved in the visit for days from today.
    void ReserveIdiot(int firstDay, int lastDay) {
        TReservationRow reservation;
        reservation.kodTitul = 6;
        reservation.nazevCesky = QStringLiteral("Návrat idiota");
        reservation.terminPujceni = today.addDays(firstDay);
        reservation.terminVraceni = today.addDays(lastDay);
        visit.Reserve(reservation);
    }
    static QString OtherCounterPaying() {
        return QStringLiteral("Jiná pokladna právě ukládá platbu se stejnými nosiči, tituly nebo "
                              "zákazníkem.\rNic nebylo uloženo, zaplaťte znovu.");
    }
    void LendOn(int kodNosic, int kodTitul, int kodZak, int lent, int due, double price) {
        database.Exec(QStringLiteral(
                          "insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                          "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, %3, %4, %5, %6, %7, %8)")
                          .arg(kodTitul)
                          .arg(kodNosic)
                          .arg(kodZak)
                          .arg(SqlDate(today.addDays(lent)),
                               SqlTimestamp(QDateTime(today.addDays(lent), QTime(10, 0))), FloatToSql(price),
                               SqlDate(today.addDays(due)))
                          .arg(kodUziv));
    }
    // The visit of a customer as the counter loads it, on the given connection.
    void LoadVisit(TVisit& into, TDMGlobDB& on, int kodZak) {
        TTransaction tr(on.DB);
        into.Load(kodZak, LoadLoansOnRecord(on, tr, kodZak), LoadReservations(on, tr, kodZak));
    }
    TCartRow NewLoan(int kodNosic, int kodTitul, int days, double price) {
        TCartRow row;
        row.kodNosic = kodNosic;
        row.kodTitul = kodTitul;
        row.eanKod = QString::number(kodNosic);
        row.nazevCesky = QStringLiteral("titul %1").arg(kodTitul);
        row.terminPujceni = today;
        row.terminVraceni = today.addDays(days);
        row.cenaPujcka = price;
        return row;
    }
    int Count(const QString& table, const QString& where = QStringLiteral("1 = 1")) {
        return database.Scalar(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
    }
    QVariant Value(const QString& sql) { return database.Scalar(sql); }

    TAppContext counter{database.ExecutablePath()};
    TVisit visit{counter.SpecCena()};
    int kodUziv = 0;
    QDate today;
};

TEST_F(VisitPayment, AWholeVisitWritesEveryRowOnce) {
    LoadVisit(visit, counter.Db(), 501);
    ASSERT_EQ(visit.Cart().size(), 2u);
    ASSERT_TRUE(visit.Lend(NewLoan(1, 3, 3, 33)));
    ASSERT_TRUE(visit.Lend(NewLoan(7, 6, 1, 20)));
    visit.Return(visit.FindMedium(4), today, QStringLiteral("Eva"), QStringLiteral("obal prasklý"));
    visit.Complain(visit.FindMedium(5), today, QStringLiteral("Eva"), QStringLiteral("nejde přehrát"));
    ReserveIdiot(3, 5);
    EXPECT_EQ(visit.Total(), 99 + 20 + 20 - 90);

    const TPaymentResult paid = PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    ASSERT_TRUE(paid.receipt);
    EXPECT_DOUBLE_EQ(paid.total, 49);
    const QString dok = QString::number(paid.kodDok);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("select CENA_DPH from DOKLADY where KOD_DOK = ") + dok).toDouble(),
                     49);
    EXPECT_EQ(Value(QStringLiteral("select KOD_ZAK from DOKLADY where KOD_DOK = ") + dok).toInt(), 501);

    // The receipt's lines in cart order: the late fee, the refund, then the two loans.
    struct Line {
        int nosic;
        double cena, cenaDph;
        int dni;
        QString from, to;
    };
    const QString ts = SqlTimestamp(paid.written).remove(u'\'');
    const QString d = QStringLiteral("yyyy-mm-dd");
    const std::vector<Line> expected{
        {4, 16.53, 20, 1, DateToText(d, today.addDays(-1)) + QStringLiteral(" 00:00:00"),
         DateToText(d, today)},
        {5, -24.79, -30, 3, DateToText(d, today.addDays(-2)) + QStringLiteral(" 10:00:00"),
         DateToText(d, today.addDays(1))},
        {1, 27.27, 33, 3, ts, DateToText(d, today.addDays(3))},
        {7, 16.53, 20, 1, ts, DateToText(d, today.addDays(1))}};
    TTransaction tr(db.DB);
    auto lines =
        db.OpenQuery(tr, QStringLiteral("select KOD_NOSIC, CENA, DPH, CENA_DPH, POCET_DNI, D_PUJCENI, "
                                        "cast(D_VRACENI as date) as DO from RADKY_DOK where KOD_DOK = ") +
                             dok + QStringLiteral(" order by KOD_RAD"));
    lines->Open();
    for (const Line& line : expected) {
        ASSERT_FALSE(lines->Eof());
        EXPECT_EQ(lines->FieldByName(QStringLiteral("KOD_NOSIC")).AsInteger(), line.nosic);
        EXPECT_DOUBLE_EQ(lines->FieldByName(QStringLiteral("CENA")).AsFloat(), line.cena) << line.nosic;
        // Rentals are in the standard-rate class of a new shop.
        EXPECT_EQ(lines->FieldByName(QStringLiteral("DPH")).AsString(), QStringLiteral("B"));
        EXPECT_DOUBLE_EQ(lines->FieldByName(QStringLiteral("CENA_DPH")).AsFloat(), line.cenaDph);
        EXPECT_EQ(lines->FieldByName(QStringLiteral("POCET_DNI")).AsInteger(), line.dni) << line.nosic;
        EXPECT_EQ(DateTimeToText(d, QStringLiteral("hh:mm:ss"), QStringLiteral(" "),
                                 lines->FieldByName(QStringLiteral("D_PUJCENI")).AsDateTime()),
                  line.from)
            << line.nosic;
        EXPECT_EQ(DateToText(d, lines->FieldByName(QStringLiteral("DO")).AsDate()), line.to) << line.nosic;
        lines->Next();
    }
    EXPECT_TRUE(lines->Eof());
    tr.Commit();

    // Loans: the new ones paired with their lines by the same time, the returned ones closed.
    EXPECT_EQ(
        Count(QStringLiteral("PUJCKY p"),
              QStringLiteral("p.KOD_ZAK = 501 and p.D_VRACENI is null and exists (select 1 from RADKY_DOK r "
                             "where r.KOD_NOSIC = p.KOD_NOSIC and r.D_PUJCENI = p.D_PUJCENI)")),
        2);
    EXPECT_EQ(Value(QStringLiteral("select CENA_PUJCKA from PUJCKY where KOD_NOSIC = 1")).toDouble(), 33);
    EXPECT_EQ(Value(QStringLiteral("select INFO_VRACENI from PUJCKY where KOD_NOSIC = 4")).toString(),
              QStringLiteral("obal prasklý"));
    EXPECT_EQ(
        Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC in (4, 5) and D_VRACENI is not null and "
                                                       "UZIV_VRACENO = %1")
                                            .arg(kodUziv)),
        2);
    EXPECT_EQ(
        Value(QStringLiteral("select DUVOD from REKLAMACE where KOD_NOSIC = 5 and KOD_ZAK = 501")).toString(),
        QStringLiteral("nejde přehrát"));
    // Stock and loan counters.
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 3")).toInt(), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 4")).toInt(), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 5")).toInt(), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 6")).toInt(), 0);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PUJCEK from ZAKAZNICI where KOD_ZAK = 501")).toInt(), 11);
    // Reservations: the one fulfilled today is gone, the later one untouched, the new one written.
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 3")), 0);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 4 and D_REZERV is null")), 1);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"),
                    QStringLiteral("KOD_TITUL = 6 and KOD_ZAK = 501 and TERMIN_PUJCENI = ") +
                        SqlDate(today.addDays(3)) + QStringLiteral(" and D_REZERV = ") +
                        SqlTimestampMs(paid.written)),
              1);
}

TEST_F(VisitPayment, OnTimeReturnsWriteNoReceiptAndARetiredMediumStaysOffTheShelfButPaysItsFee) {
    LendOn(1, 3, 502, 0, 2, 35);
    LendOn(7, 6, 502, -3, -1, 20);
    database.Exec(QStringLiteral("update TITULY set POCET_PRITOMNO = 0 where KOD_TITUL in (3, 6)"));
    database.Exec(QStringLiteral("update NOSICE set D_ZRUSENI = CURRENT_TIMESTAMP where KOD_NOSIC = 7"));
    LoadVisit(visit, counter.Db(), 502);
    visit.Return(visit.FindMedium(1), today, {}, {});
    EXPECT_FALSE(visit.ReceiptNeeded());
    TPaymentResult paid = PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_FALSE(paid.receipt);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 3")).toInt(), 1);

    LoadVisit(visit, counter.Db(), 502);
    visit.Return(visit.FindMedium(7), today, {}, {});
    paid = PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_TRUE(paid.receipt);
    EXPECT_DOUBLE_EQ(paid.total, 20);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 6")).toInt(), 0);
}

TEST_F(VisitPayment, AMediumComplainedAboutAndThenReturnedInOneVisitKeepsItsComplaint) {
    LoadVisit(visit, counter.Db(), 501);
    visit.Complain(visit.FindMedium(5), today, {}, QStringLiteral("nejde přehrát"));
    visit.Return(visit.FindMedium(5), today, {}, QStringLiteral("obal prasklý"));
    PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_EQ(Count(QStringLiteral("REKLAMACE"), QStringLiteral("KOD_NOSIC = 5 and DUVOD = 'nejde přehrát'")),
              1);
    EXPECT_EQ(Count(QStringLiteral("RADKY_DOK"), QStringLiteral("KOD_NOSIC = 5 and CENA_DPH < 0")), 1);
    EXPECT_EQ(Value(QStringLiteral("select INFO_VRACENI from PUJCKY where KOD_NOSIC = 5")).toString(),
              QStringLiteral("obal prasklý"));
}

TEST_F(VisitPayment, ALockHeldByAnotherCounterFailsThePaymentWhichLaterWritesOnce) {
    LoadVisit(visit, counter.Db(), 501);
    visit.Lend(NewLoan(1, 3, 1, 35));
    visit.Return(visit.FindMedium(4), today, {}, {});
    {
        TTransaction other(db.DB);
        other.StartTransaction();
        db.ExecSql(other, QStringLiteral("update NOSICE set CENA_NAKUP = 100 where KOD_NOSIC = 1"));
        EXPECT_THROW(PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv), EVisitConflict);
        EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
        EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 4 and D_VRACENI is null")), 1);
        other.Rollback();
    }
    EXPECT_EQ(visit.NewLoans(), 1) << "the visit is kept for paying again";
    const TPaymentResult paid = PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_TRUE(paid.receipt);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 1);
    EXPECT_EQ(Count(QStringLiteral("RADKY_DOK")), 2);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 3")).toInt(), 1);
}

// Another counter fulfils or cancels the same reservation and commits in the instant between
// the engine reading the row and deleting it: a trigger makes that instant happen on every run.
TEST_F(VisitPayment, AReservationDeletedMeanwhileAtAnotherCounterRefusesThePaymentClearly) {
    TDMGlobDB admin(database.ExecutablePath());
    admin.DB.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
    TTransaction ddl(admin.DB);
    admin.ExecSql(ddl, QStringLiteral("create sequence G_OTHER_COUNTER"));
    admin.ExecSql(ddl, QStringLiteral("grant usage on sequence G_OTHER_COUNTER to public"));
    admin.ExecSql(ddl, QStringLiteral("create trigger REZERVACE_OTHER_COUNTER for REZERVACE before delete as "
                                      "begin if (gen_id(G_OTHER_COUNTER, 1) = 1) then execute statement "
                                      "'delete from REZERVACE where KOD_ZAK = ' || old.KOD_ZAK || ' and "
                                      "KOD_TITUL = ' || old.KOD_TITUL on external '%1' as user 'SYSDBA' "
                                      "password 'x' with autonomous transaction; end")
                           .arg(database.DatabaseFile()));
    admin.DB.Close();

    LoadVisit(visit, counter.Db(), 501);
    visit.Lend(NewLoan(1, 3, 1, 35)); // fulfils the reservation of title 3 for today
    try {
        PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
        FAIL() << "the reservation went at another counter meanwhile";
    } catch (const EVisitConflict& conflict) {
        EXPECT_EQ(conflict.Message(), OtherCounterPaying());
    }
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 3")), 0)
        << "the other counter's";

    PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 1);
}

// Two payments lending media of one title both move its shelf count: the second one, waiting
// for nothing, must end as a conflict the clerk can read, not as a failure of the program.
TEST_F(VisitPayment, AnotherCounterPayingForTheSameTitleRefusesThePaymentClearly) {
    LoadVisit(visit, counter.Db(), 501);
    visit.Lend(NewLoan(1, 3, 1, 35));
    TTransaction other(db.DB);
    other.StartTransaction();
    db.ExecSql(other,
               QStringLiteral("update TITULY set POCET_PRITOMNO = POCET_PRITOMNO - 1 where KOD_TITUL = 3"));
    try {
        PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
        ADD_FAILURE() << "the payment wrote beside another counter's change";
    } catch (const EVisitConflict& conflict) {
        EXPECT_EQ(conflict.Message(), OtherCounterPaying());
    }
    other.Rollback();
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PUJCEK from ZAKAZNICI where KOD_ZAK = 501")).toInt(), 9);
    EXPECT_EQ(visit.NewLoans(), 1) << "the visit is kept for paying again";
}

TEST_F(VisitPayment, TwoCountersLendingOneMediumWriteOneLoan) {
    TVisit second(counter.SpecCena());
    LoadVisit(visit, counter.Db(), 501);
    LoadVisit(second, db, 502);
    visit.Lend(NewLoan(2, 3, 1, 35));
    second.Lend(NewLoan(2, 3, 1, 35));
    PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    try {
        PayVisit(db, counter.SpecCena(), second, kodUziv);
        ADD_FAILURE() << "the second counter lent the medium too";
    } catch (const EVisitConflict& conflict) {
        EXPECT_EQ(
            conflict.Message(),
            QStringLiteral("Nosič 2 (titul 3) byl mezitím půjčen na jiné pokladně.\rNic nebylo uloženo."));
    }
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 2")), 1);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 3")).toInt(), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PUJCEK from ZAKAZNICI where KOD_ZAK = 502")).toInt(), 0);
}

TEST_F(VisitPayment, AReturnBookedAtAnotherCounterIsNotBookedAgain) {
    LoadVisit(visit, counter.Db(), 501);
    TVisit other(counter.SpecCena());
    LoadVisit(other, db, 501);
    visit.Return(visit.FindMedium(4), today, {}, {});
    other.Return(other.FindMedium(4), today, {}, {});
    PayVisit(db, counter.SpecCena(), other, kodUziv);
    EXPECT_THROW(PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv), EVisitConflict);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 4")).toInt(), 1);
    EXPECT_EQ(Count(QStringLiteral("RADKY_DOK")), 1) << "one late fee";
}

TEST_F(VisitPayment, ReservationsAreWrittenAsChangedAndOthersSurvive) {
    LoadVisit(visit, counter.Db(), 501);
    // Another counter reserves for this customer and for someone else after the visit was loaded.
    Reserve(6, 501, today.addDays(10));
    Reserve(6, 502, today.addDays(3));
    visit.ChangeReservation(1, today.addDays(6), today.addDays(8), {});
    visit.CancelReservation(0);
    PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 3")), 0) << "cancelled";
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"),
                    QStringLiteral("KOD_TITUL = 4 and TERMIN_PUJCENI = ") + SqlDate(today.addDays(6)) +
                        QStringLiteral(" and TERMIN_VRACENI = ") + SqlDate(today.addDays(8)) +
                        QStringLiteral(" and UZIV_REZERV = ") + QString::number(kodUziv)),
              1)
        << "moved in place";
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 6")), 2)
        << "the other counter's stay";
}

TEST_F(VisitPayment, AFirstDayBookedOutMeanwhileRefusesTheNewReservation) {
    LoadVisit(visit, counter.Db(), 501);
    ReserveIdiot(3, 5);
    Reserve(6, 502, today.addDays(2)); // covers the third day to the fourth: the only medium is taken
    database.Exec(QStringLiteral("update REZERVACE set TERMIN_VRACENI = ") + SqlDate(today.addDays(4)) +
                  QStringLiteral(" where KOD_ZAK = 502"));
    EXPECT_THROW(PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv), EVisitConflict);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_ZAK = 501 and KOD_TITUL = 6")), 0);
}

TEST_F(VisitPayment, AReservationIsNeverDoubledInTheDatabaseNorByAPaymentOfOneCounterOrTwo) {
    EXPECT_THROW(Reserve(4, 501, today.addDays(5)), EDatabaseError) << "one per title, customer and day";
    Reserve(4, 501, today.addDays(7));
    LoadVisit(visit, counter.Db(), 501);
    // Two moves of one visit, one onto the day the other leaves.
    visit.ChangeReservation(2, today.addDays(9), today.addDays(10), {});
    visit.ChangeReservation(1, today.addDays(7), today.addDays(8), {});
    ReserveIdiot(3, 4);
    Reserve(6, 501, today.addDays(3)); // the same, at another counter meanwhile
    try {
        PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
        ADD_FAILURE() << "the reservation was written twice";
    } catch (const EVisitConflict& conflict) {
        EXPECT_EQ(conflict.Message(),
                  QStringLiteral("Titul Návrat idiota má zákazník mezitím rezervován od ") +
                      QLocale().toString(today.addDays(3), QLocale::ShortFormat) +
                      QStringLiteral(".\rNic nebylo uloženo."));
    }
    const QString title4 = QStringLiteral("KOD_ZAK = 501 and KOD_TITUL = 4 and TERMIN_PUJCENI = ");
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), title4 + SqlDate(today.addDays(5))), 1) << "nothing written";
    visit.CancelReservation(3);
    PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), title4 + SqlDate(today.addDays(7)) +
                                                     QStringLiteral(" and TERMIN_VRACENI = ") +
                                                     SqlDate(today.addDays(8))),
              1);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), title4 + SqlDate(today.addDays(9))), 1);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_ZAK = 501")), 4);
}

// The other counter's payment holds the title between its count and its commit.
TEST_F(VisitPayment, TwoCountersReservingTheLastMediumOfATitleBookItOnce) {
    LoadVisit(visit, counter.Db(), 501);
    ReserveIdiot(3, 4);
    TTransaction other(db.DB);
    other.StartTransaction();
    db.OpenQuery(other,
                 QStringLiteral("select KOD_TITUL from TITULY where KOD_TITUL = 6 for update with lock"))
        ->Open();
    db.ExecSql(other, QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, "
                                     "TERMIN_VRACENI) values (6, 502, %1, %2)")
                          .arg(SqlDate(today.addDays(3)), SqlDate(today.addDays(4))));
    try {
        PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv);
        ADD_FAILURE() << "both counters booked the only medium";
    } catch (const EVisitConflict& conflict) {
        EXPECT_EQ(conflict.Message(), OtherCounterPaying());
    }
    other.Commit();
    EXPECT_TRUE(visit.Pending()) << "the visit is kept";
    EXPECT_THROW(PayVisit(counter.Db(), counter.SpecCena(), visit, kodUziv), EVisitConflict)
        << "now the day is booked out";
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 6")), 1);
}

// A medium lent, taken back and lent again within one second: cancelling the first receipt
// closes no loan, since its own came back and the other belongs to another receipt.
TEST_F(VisitPayment, ACancellationLeavesTheSiblingLoanOfTheSameSecondOpen) {
    const auto pay = [&](const std::function<void(TVisit&)>& change) {
        TVisit next(counter.SpecCena());
        LoadVisit(next, counter.Db(), 502);
        change(next);
        return PayVisit(counter.Db(), counter.SpecCena(), next, kodUziv);
    };
    const TPaymentResult first = pay([&](TVisit& v) { ASSERT_TRUE(v.Lend(NewLoan(2, 3, 1, 35))); });
    pay([&](TVisit& v) { v.Return(v.FindMedium(2), today, {}, {}); });
    const TPaymentResult again = pay([&](TVisit& v) { ASSERT_TRUE(v.Lend(NewLoan(2, 3, 1, 35))); });
    ASSERT_TRUE(first.receipt && again.receipt);
    if (first.written.toSecsSinceEpoch() != again.written.toSecsSinceEpoch())
        GTEST_SKIP() << "the payments crossed a second";

    EXPECT_EQ(CancelDocument(counter.Db(), first.kodDok, true, kodUziv).loansReturned, 0);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 2 and D_VRACENI is null")), 1);
}

} // namespace
