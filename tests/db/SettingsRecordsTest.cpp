#include "DatabaseInfo.h"
#include "DbError.h"
#include "MailSettings.h"
#include "Pobocka.h"
#include "PriceSettings.h"
#include "TestDatabase.h"

#include <QBuffer>
#include <QImage>

namespace {

using SettingsRecords = DatabaseTest;

const QDateTime Friday4March(QDate(2005, 3, 4), QTime(10, 0));

TEST_F(SettingsRecords, PricesLoadOnFirstUse) {
    TSpecCena cena(db);
    EXPECT_FALSE(cena.IsLoaded());
    EXPECT_FALSE(db.DB.Connected());
    // A new shop: A the reduced rate, B the standard one, rentals at the standard rate.
    EXPECT_DOUBLE_EQ(cena.GetDphA(), 12);
    EXPECT_TRUE(cena.IsLoaded());
    EXPECT_DOUBLE_EQ(cena.GetDphB(), 21);
    EXPECT_EQ(cena.GetDphPujcka(), QStringLiteral("B"));
    EXPECT_TRUE(cena.GetPlatceDph());
    EXPECT_EQ(cena.GetMena(), QStringLiteral("Kč"));
    EXPECT_DOUBLE_EQ(cena.GetSazbaPujcka(), 21);
    EXPECT_DOUBLE_EQ(cena.GetCenaVipDvd(), 40);
    // A change made elsewhere is seen only after a restart.
    database.Exec(QStringLiteral("update SPEC_CENA set DPH_A = 25"));
    EXPECT_DOUBLE_EQ(cena.GetDphA(), 12);
}

TEST_F(SettingsRecords, RentalVatRateFollowsTheClass) {
    database.Exec(QStringLiteral("update SPEC_CENA set DPH_PUJCKA = '0'"));
    EXPECT_DOUBLE_EQ(TSpecCena(db).GetSazbaPujcka(), 0);
    database.Exec(QStringLiteral("update SPEC_CENA set DPH_PUJCKA = 'A'"));
    EXPECT_DOUBLE_EQ(TSpecCena(db).GetSazbaPujcka(), 12);
}

TEST_F(SettingsRecords, AMissingPriceRowIsAskedForAgainAtEveryAccess) {
    database.Exec(QStringLiteral("delete from SPEC_CENA"));
    TSpecCena cena(db);
    EXPECT_DOUBLE_EQ(cena.GetDphA(), -1);
    EXPECT_FALSE(cena.IsLoaded());
    database.Exec(QStringLiteral("insert into SPEC_CENA (DPH_A, DPH_B, MENA) values (20, 10, 'Kč')"));
    EXPECT_DOUBLE_EQ(cena.GetDphA(), 20);
    EXPECT_TRUE(cena.IsLoaded());
}

TEST_F(SettingsRecords, ChargedDaysSkipClosedDays) {
    database.Exec(QStringLiteral("update SPEC_CENA set PLAT_SO = 'N', PLAT_NE = 'N'"));
    TSpecCena cena(db);
    EXPECT_FALSE(cena.IsChargedDay(QDate(2005, 3, 5)));
    EXPECT_TRUE(cena.IsChargedDay(QDate(2005, 3, 7)));
    EXPECT_EQ(cena.ChargedDays(Friday4March, QDateTime(QDate(2005, 3, 7), QTime(18, 0))), 1);
    EXPECT_EQ(cena.ChargedDays(Friday4March, QDateTime(QDate(2005, 3, 8), QTime(9, 0))), 2);
    EXPECT_EQ(cena.ChargedDays(Friday4March, Friday4March), 1);
    EXPECT_EQ(cena.ChargedDays(Friday4March, Friday4March.addDays(1)), 1);
    EXPECT_EQ(cena.ChargedDays(Friday4March, Friday4March.addDays(14)), 10);
}

TEST_F(SettingsRecords, ChargedDaysWhenTheShopIsNeverOpen) {
    database.Exec(
        QStringLiteral("update SPEC_CENA set PLAT_PO = 'N', PLAT_UT = 'N', PLAT_ST = 'N', PLAT_CT = 'N', "
                       "PLAT_PA = 'N', PLAT_SO = 'N', PLAT_NE = 'N'"));
    TSpecCena cena(db);
    EXPECT_EQ(cena.ChargedDays(Friday4March, Friday4March.addDays(30)), 1);
}

TEST_F(SettingsRecords, ASpanWithAMissingDateCountsItsFirstDayOnly) {
    // A due date or a loan time read from a null column is an invalid date; counting towards
    // it must end, and a date without a weekday is no charged day.
    TSpecCena cena(db);
    EXPECT_EQ(cena.ChargedDays(QDateTime(), Friday4March), 1);
    EXPECT_EQ(cena.ChargedDays(Friday4March, QDateTime()), 1);
    EXPECT_EQ(cena.ChargedDays(QDateTime(), QDateTime()), 1);
    EXPECT_FALSE(cena.IsChargedDay(QDate()));
}

TEST_F(SettingsRecords, SettingsDeskAssignmentIsSeenAtOnce) {
    TSpecCena cena(db);
    TSpecCena::Values values = cena.Current();
    values.Mena = QStringLiteral("EUR");
    cena.Assign(values);
    EXPECT_EQ(cena.GetMena(), QStringLiteral("EUR"));

    TSpecApp app(db);
    EXPECT_EQ(app.GetMailPort(), QStringLiteral("25"));
    app.Assign({QStringLiteral("a@b.cz"),
                {},
                QStringLiteral("smtp.example"),
                QStringLiteral("587"),
                {},
                {},
                {},
                {}});
    EXPECT_EQ(app.GetMailHost(), QStringLiteral("smtp.example"));
}

TEST_F(SettingsRecords, AppSettingsCountAsLoadedEvenWithoutARow) {
    database.Exec(QStringLiteral("delete from SPEC_APP"));
    TSpecApp app(db);
    EXPECT_EQ(app.GetMailHost(), QString());
    EXPECT_TRUE(app.IsLoaded());
    database.Exec(QStringLiteral("insert into SPEC_APP (MAIL_HOST) values ('pozde')"));
    EXPECT_EQ(app.GetMailHost(), QString());
}

TEST_F(SettingsRecords, BranchWithLogoAndAnEmptyNameIsReadAgain) {
    QImage logo(20, 10, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "BMP");
    TTransaction tr(db.DB);
    db.ExecSqlBlob(tr, QStringLiteral("update POBOCKA set JMENO = null, LOGO = :LOGO"),
                   QStringLiteral("LOGO"), bmp);

    TPobocka pobocka(db);
    EXPECT_EQ(pobocka.GetJmeno(), QString());
    EXPECT_FALSE(pobocka.IsLoaded());
    database.Exec(QStringLiteral("update POBOCKA set JMENO = 'Kino Vesna', WEB = 'www.vesna.cz'"));
    EXPECT_EQ(pobocka.GetWeb(), QStringLiteral("www.vesna.cz"));
    EXPECT_EQ(pobocka.GetLogo().size(), QSize(20, 10));
    EXPECT_EQ(pobocka.GetLogo().pixelColor(3, 3), QColor(Qt::red));
}

TEST_F(SettingsRecords, ProgramVersionIsStoredOnlyWhenItChanged) {
    TSpecDB record(db);
    record.SetVerzeApp(QStringLiteral("1.0.0")); // not loaded yet: nothing is written
    EXPECT_TRUE(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).isNull());

    EXPECT_EQ(record.GetVerzeApp(), QString());
    record.SetVerzeApp(QStringLiteral("1.0.0"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select VERZE_APP from SPEC_DB")).toString(),
              QStringLiteral("1.0.0"));

    // With the stored version nothing is written: a lock held elsewhere does not matter.
    TDMGlobDB other(database.ExecutablePath());
    TTransaction locker(other.DB);
    locker.StartTransaction();
    other.ExecSql(locker, QStringLiteral("update SPEC_DB set VERZE_DB = VERZE_DB"));
    EXPECT_NO_THROW(record.SetVerzeApp(QStringLiteral("1.0.0")));
    EXPECT_THROW(record.SetVerzeApp(QStringLiteral("1.1.0")), EDatabaseError);
    locker.Rollback();
}

} // namespace
