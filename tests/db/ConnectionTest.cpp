#include "DbError.h"
#include "GlobFunc.h"
#include "TestDatabase.h"

#include <QDir>
#include <QRandomGenerator>

#include <unistd.h>

namespace {

using Transactions = DatabaseTest;

TEST_F(Transactions, ExecSqlCommitsOnlyWhatItStarted) {
    TTransaction started(db.DB);
    db.ExecSql(
        started,
        QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) values (CURRENT_TIMESTAMP, 10, 'a')"));
    EXPECT_FALSE(started.Active());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 1);

    TTransaction desk(db.DB);
    desk.StartTransaction();
    db.ExecSql(desk, QStringLiteral(
                         "insert into HOTOVOST (DATUM, CASTKA, POPIS) values (CURRENT_TIMESTAMP, 20, 'b')"));
    EXPECT_TRUE(desk.Active());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 1);
    desk.Rollback();
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 1);
}

TEST_F(Transactions, AFailedStatementRollsBackTheTransactionExecSqlStarted) {
    TTransaction transaction(db.DB);
    try {
        db.ExecSql(transaction, QStringLiteral("insert into TRZBY (DATUM) values (null)"));
        FAIL() << "a null key must fail";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Code(), 0);
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_FALSE(transaction.Active());
    // The same transaction object works on afterwards and commits its next statement.
    db.ExecSql(transaction, QStringLiteral("insert into TRZBY (DATUM, POKLADNA) values ('2026-01-02', 5)"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from TRZBY")).toInt(), 1);
}

TEST_F(Transactions, ALockedRowFailsAtOnce) {
    TTransaction first(db.DB);
    first.StartTransaction();
    db.ExecSql(first, QStringLiteral("update SPEC_CENA set MENA = 'EUR'"));

    TDMGlobDB other(database.ExecutablePath());
    TTransaction second(other.DB);
    try {
        other.ExecSql(second, QStringLiteral("update SPEC_CENA set MENA = 'CZK'"));
        FAIL() << "the second update must not wait";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Code() == EDatabaseError::kLockConflict || e.Code() == EDatabaseError::kDeadlock)
            << e.Code();
    }
    first.Commit();
    EXPECT_EQ(database.Scalar(QStringLiteral("select MENA from SPEC_CENA")).toString(),
              QStringLiteral("EUR"));
}

TEST_F(Transactions, ReadCommittedSeesOtherCountersCommits) {
    TTransaction reader(db.DB);
    auto before = db.OpenQuery(reader, QStringLiteral("select count(*) as N from ZANRY"));
    before->Open();
    const int count = before->FieldByName(QStringLiteral("N")).AsInteger();

    TDMGlobDB other(database.ExecutablePath());
    TTransaction writer(other.DB);
    other.ExecSql(writer, QStringLiteral("insert into ZANRY (NAZEV_ZANR) values ('Western')"));

    auto after = db.OpenQuery(reader, QStringLiteral("select count(*) as N from ZANRY"));
    after->Open();
    EXPECT_EQ(after->FieldByName(QStringLiteral("N")).AsInteger(), count + 1);
}

TEST_F(Transactions, UnitOfWorkCommitsOrRollsBack) {
    RunInTransaction(db.DB, [&](TTransaction& tr) {
        db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (CURRENT_TIMESTAMP, 1)"));
        db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (CURRENT_TIMESTAMP, 2)"));
    });
    EXPECT_THROW(RunInTransaction(db.DB,
                                  [&](TTransaction& tr) {
                                      db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) "
                                                                    "values (CURRENT_TIMESTAMP, 3)"));
                                      db.ExecSql(
                                          tr, QStringLiteral("insert into HOTOVOST (DATUM) values (null)"));
                                  }),
                 EDatabaseError);
    EXPECT_EQ(database.Scalar(QStringLiteral("select sum(CASTKA) from HOTOVOST")).toDouble(), 3.0);
}

TEST_F(Transactions, ACommitThatFailsRollsBackTheTransactionExecSqlStarted) {
    // Only the database's owner may add a commit trigger; the embedded engine trusts the name.
    {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
        TTransaction ddl(owner);
        ddl.StartTransaction();
        TQuery trigger(ddl, QStringLiteral("create trigger REFUSE_COMMIT on transaction commit as "
                                           "declare variable X integer = 0; "
                                           "begin if (exists(select 1 from HOTOVOST where POPIS = 'refuse')) "
                                           "then X = 1 / X; end"));
        trigger.ExecSQL();
        ddl.Commit();
    }
    TTransaction transaction(db.DB);
    EXPECT_THROW(db.ExecSql(transaction, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) "
                                                        "values (CURRENT_TIMESTAMP, 1, 'refuse')")),
                 EDatabaseError);
    EXPECT_FALSE(transaction.Active());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 0);

    // A transaction the caller started is left to the caller, failed commit or not.
    TTransaction desk(db.DB);
    desk.StartTransaction();
    db.ExecSql(desk, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) "
                                    "values (CURRENT_TIMESTAMP, 1, 'refuse')"));
    EXPECT_TRUE(desk.Active());
    EXPECT_THROW(desk.Commit(), EDatabaseError);
    EXPECT_TRUE(desk.Active());
    desk.Rollback();
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 0);
}

using Statements = DatabaseTest;

TEST_F(Statements, AColonInsideALiteralIsNotAParameter) {
    TTransaction tr(db.DB);
    db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS) values "
                                  "(CURRENT_TIMESTAMP, 1, 'čas 10:30 :POPIS')"));
    auto query =
        db.OpenQuery(tr, QStringLiteral("select POPIS from HOTOVOST where POPIS like '%:30 :POPIS'"));
    query->Open();
    ASSERT_FALSE(query->Eof());
    EXPECT_EQ(query->FieldByName(QStringLiteral("popis")).AsString(), QStringLiteral("čas 10:30 :POPIS"));
}

TEST_F(Statements, TextRoundTripsThroughSqlText) {
    const QString text = QStringLiteral("Jiří O'Brien; 'x' -- \\ \"úl\" ");
    const QString withControls = QStringLiteral("řádek 1\r\nřádek 2\tkonec");
    TTransaction tr(db.DB);
    db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = %1, TEXT_DOKLAD = %2")
                       .arg(SqlText(text), SqlText(withControls, true)));
    EXPECT_EQ(database.Scalar(QStringLiteral("select JMENO from POBOCKA")).toString(), text);
    EXPECT_EQ(database.Scalar(QStringLiteral("select TEXT_DOKLAD from POBOCKA")).toString(), withControls);
    db.ExecSql(tr, QStringLiteral("update POBOCKA set TEXT_DOKLAD = %1").arg(SqlText(withControls)));
    EXPECT_EQ(database.Scalar(QStringLiteral("select TEXT_DOKLAD from POBOCKA")).toString(),
              QStringLiteral("řádek 1  řádek 2 konec"));
}

TEST_F(Statements, TextTheDatabaseCannotHoldIsRefusedAndNothingIsWritten) {
    TTransaction tr(db.DB);
    try {
        db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = 'Kino ★'"));
        FAIL() << "the star is not in the code page";
    } catch (const EDatabaseError&) {
        FAIL() << "the refusal must come before the database sees the text";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("★"))) << e.Message().toStdString();
    }
    EXPECT_FALSE(tr.Active());
    EXPECT_EQ(database.Scalar(QStringLiteral("select JMENO from POBOCKA")).toString(),
              QStringLiteral("Videopůjčovna"));
}

TEST_F(Statements, DatabaseUpperFoldsLikeUpperCz) {
    const QString lower = QStringLiteral("áäčďéěëíĺňóöřšťúůüýž abc");
    const QString folded =
        database.Scalar(QStringLiteral("select upper(%1) from RDB$DATABASE").arg(SqlText(lower))).toString();
    EXPECT_EQ(folded, UpperCz(lower));
    database.Exec(QStringLiteral("update POBOCKA set JMENO = 'Kůň Žluťoučký'"));
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from POBOCKA where upper(JMENO) like '%%1%'")
                              .arg(SqlEscape(UpperCz(QStringLiteral("žluťou")))))
                  .toInt(),
              1);
}

TEST_F(Statements, BlobsRoundTripByteForByte) {
    QByteArray bytes(300000, '\0');
    QRandomGenerator random(42);
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    TTransaction tr(db.DB);
    db.ExecSqlBlob(tr, QStringLiteral("update POBOCKA set LOGO = :LOGO where 1 = 1"), QStringLiteral("LOGO"),
                   bytes);
    EXPECT_EQ(database.Scalar(QStringLiteral("select LOGO from POBOCKA")).toByteArray(), bytes);
    db.ExecSqlBlob(tr, QStringLiteral("update POBOCKA set LOGO = :LOGO"), QStringLiteral("LOGO"),
                   QByteArray());
    EXPECT_EQ(database.Scalar(QStringLiteral("select octet_length(LOGO) from POBOCKA")).toInt(), 0);
    db.ExecSql(tr, QStringLiteral("update POBOCKA set LOGO = null"));
    EXPECT_TRUE(database.Scalar(QStringLiteral("select LOGO from POBOCKA")).isNull());
}

TEST_F(Statements, ValuesComeBackTyped) {
    TTransaction tr(db.DB);
    db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) "
                                  "values ('2026-03-07 14:05:09', -1234.56, null, 7)"));
    auto query = db.OpenQuery(tr, QStringLiteral("select * from HOTOVOST"));
    query->Open();
    ASSERT_FALSE(query->Eof());
    EXPECT_EQ(query->FieldByName(QStringLiteral("DATUM")).AsDateTime(),
              QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
    EXPECT_DOUBLE_EQ(query->FieldByName(QStringLiteral("CASTKA")).AsFloat(), -1234.56);
    EXPECT_EQ(query->FieldByName(QStringLiteral("CASTKA")).AsString(), QStringLiteral("-1234.56"));
    EXPECT_TRUE(query->FieldByName(QStringLiteral("POPIS")).IsNull());
    EXPECT_EQ(query->FieldByName(QStringLiteral("POPIS")).AsString(), QString());
    EXPECT_EQ(query->FieldByName(QStringLiteral("UZIV_ZAPSAL")).AsInteger(), 7);
    EXPECT_THROW(query->FieldByName(QStringLiteral("NENI")), ECinemonError);
    query->Next();
    EXPECT_TRUE(query->Eof());
}

TEST_F(Statements, MemosAndCodesReadBackAsWritten) {
    const QString notes =
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy.\r\nDruhý řádek: ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    TTransaction tr(db.DB);
    const int kod = db.GenKodZak(tr);
    db.ExecSql(tr, QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, PRIJMENI, VIP, POZNAMKY, CENA_VIP_DVD) "
                                  "values (%1, 'Čermák', 'A', %2, 12.5)")
                       .arg(kod)
                       .arg(SqlText(notes, true)));
    tr.Commit();
    auto query = db.OpenQuery(tr, QStringLiteral("select * from ZAKAZNICI where KOD_ZAK = %1").arg(kod));
    query->Open();
    ASSERT_FALSE(query->Eof());
    EXPECT_EQ(query->FieldByName(QStringLiteral("POZNAMKY")).AsString(), notes);
    EXPECT_EQ(query->FieldByName(QStringLiteral("PRIJMENI")).AsString(), QStringLiteral("Čermák"));
    // A one-letter flag comes back without the blanks a CHAR column is padded with.
    EXPECT_EQ(query->FieldByName(QStringLiteral("VIP")).AsString(), QStringLiteral("A"));
    EXPECT_EQ(query->FieldByName(QStringLiteral("CENA_VIP_DVD")).AsFloat(), 12.5);
    EXPECT_TRUE(query->FieldByName(QStringLiteral("FOTO")).IsNull());
    EXPECT_TRUE(query->FieldByName(QStringLiteral("D_UKONCENI")).AsDateTime().isNull());
}

TEST_F(Statements, ClosingTheConnectionEndsTransactionsAndTheNextQueryReopens) {
    TTransaction tr(db.DB);
    tr.StartTransaction();
    db.ExecSql(tr, QStringLiteral("insert into HOTOVOST (DATUM, CASTKA) values (CURRENT_TIMESTAMP, 1)"));
    auto open = db.OpenQuery(tr, QStringLiteral("select * from ZANRY"));
    open->Open();
    db.DB.Close();
    EXPECT_FALSE(tr.Active());
    EXPECT_FALSE(db.DB.Connected());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(), 0);
    EXPECT_TRUE(db.DB.Connected());
}

using Schema = DatabaseTest;

TEST_F(Schema, GeneratorsHandOutNewKeys) {
    TTransaction tr(db.DB);
    const int first = db.GenKodZak(tr);
    const int second = db.GenKodZak(tr);
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first + 1);
    EXPECT_GT(db.GenKodTitul(tr), 0);
    EXPECT_GT(db.GenKodNosic(tr), 0);
    EXPECT_GT(db.GenKodDok(tr), 0);
    tr.Commit();
}

TEST_F(Schema, DocumentTotalsFollowTheLines) {
    TTransaction tr(db.DB);
    const int kod = db.GenKodDok(tr);
    db.ExecSql(tr, QStringLiteral("insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, UZIV_VYSTAVIL) "
                                  "values (%1, 1, CURRENT_DATE, CURRENT_TIMESTAMP, 1)")
                       .arg(kod));
    const auto line = [&](const char* vat, double price, double priceVat, int days) {
        db.ExecSql(
            tr, QStringLiteral("insert into RADKY_DOK (KOD_DOK, KOD_NOSIC, KOD_TITUL, CENA, DPH, CENA_DPH, "
                               "POCET_DNI) values (%1, 1, 1, %2, '%3', %4, %5)")
                    .arg(kod)
                    .arg(FloatToSql(price), QString::fromLatin1(vat), FloatToSql(priceVat))
                    .arg(days));
    };
    line("A", 24.79, 30, 3);   // 74.37 / 90
    line("B", 17.86, 20, 2);   // 35.72 / 40
    line("0", 10, 10, 1);      // 10 / 10
    line("A", -24.79, -30, 1); // a complaint credit
    EXPECT_DOUBLE_EQ(db.DokCena(tr, kod), 110.0);
    tr.Commit();

    TTransaction check(db.DB);
    auto doc = db.OpenQuery(check, QStringLiteral("select * from DOKLADY where KOD_DOK = %1").arg(kod));
    doc->Open();
    const auto amount = [&](const char* column) {
        return doc->FieldByName(QString::fromLatin1(column)).AsFloat();
    };
    EXPECT_NEAR(amount("C_ZAKLAD_A"), 49.58, 1e-9);
    EXPECT_NEAR(amount("C_DPH_A"), 10.42, 1e-9);
    EXPECT_NEAR(amount("C_ZAKLAD_B"), 35.72, 1e-9);
    EXPECT_NEAR(amount("C_DPH_B"), 4.28, 1e-9);
    EXPECT_NEAR(amount("C_ZAKLAD_0"), 10, 1e-9);
    EXPECT_NEAR(amount("CENA"), 95.30, 1e-9);
    EXPECT_NEAR(amount("CENA_DPH"), 110, 1e-9);
    auto lines = db.OpenQuery(check, QStringLiteral("select CENA_RADKU, CENA_RADKU_DPH from RADKY_DOK "
                                                    "where KOD_DOK = %1 order by KOD_RAD")
                                         .arg(kod));
    lines->Open();
    EXPECT_NEAR(lines->FieldByName(QStringLiteral("CENA_RADKU")).AsFloat(), 74.37, 1e-9);
    EXPECT_NEAR(lines->FieldByName(QStringLiteral("CENA_RADKU_DPH")).AsFloat(), 90, 1e-9);
}

TEST_F(Schema, DocumentNumbersGrowAndADayClosesOnce) {
    QList<int> numbers;
    for (int i = 0; i < 3; ++i) {
        TTransaction tr(db.DB);
        const int kod = db.GenKodDok(tr);
        db.ExecSql(
            tr, QStringLiteral("insert into DOKLADY (KOD_DOK, KOD_ZAK, D_UZP) values (%1, 1, CURRENT_DATE)")
                    .arg(kod));
        tr.Commit();
        numbers.append(
            database.Scalar(QStringLiteral("select CISLO_DOK from DOKLADY where KOD_DOK = %1").arg(kod))
                .toInt());
    }
    EXPECT_LT(numbers[0], numbers[1]);
    EXPECT_LT(numbers[1], numbers[2]);

    database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA) values ('2026-12-01', 100)"));
    EXPECT_THROW(
        database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA) values ('2026-12-01', 200)")),
        EDatabaseError);
}

TEST_F(Schema, ANewShopHasItsAdministratorAndSettings) {
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select PRAVA from UZIVATELE where upper(UZIVATEL) = 'ADMIN' "
                                         "and POVOLENI = 'A' and HESLO is null"))
                  .toString(),
              QStringLiteral("A"));
    for (const char* table : {"SPEC_CENA", "SPEC_APP", "SPEC_DB", "POBOCKA"})
        EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(table)))
                      .toInt(),
                  1)
            << table;
    for (const char* table : {"ZANRY", "FORMATY_ZVUKU", "FILM_TITULKY", "FILM_JAZYKY"})
        EXPECT_GT(database.Scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(table)))
                      .toInt(),
                  1)
            << table;
    // Code-list positions number upward from 1, as the title flag strings expect.
    EXPECT_EQ(database.Scalar(QStringLiteral("select min(PORADI_TIT) from FILM_TITULKY")).toInt(), 1);
}

using EmbeddedEngine = DatabaseTest;

TEST_F(EmbeddedEngine, AnOrdinaryAccountWorksWithLocksBesideTheDatabase) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root uses the machine's lock folder; scripts/test.sh runs this as another user";
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from UZIVATELE")).toInt(), 1);
    if (::access("/tmp/firebird", R_OK | W_OK | X_OK) != 0) {
        EXPECT_EQ(qEnvironmentVariable("FIREBIRD_LOCK"),
                  QDir(database.Dir()).filePath(QStringLiteral("firebird-lock")));
    }
}

} // namespace
