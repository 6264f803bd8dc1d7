#include "SettingsData.h"
#include "AppContext.h"
#include "DbError.h"
#include "TestDatabase.h"
#include "UsersData.h"
#include "Uzivatel.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

namespace {

// Another counter on the same database file.
class TOtherCounter {
public:
    explicit TOtherCounter(const TTestDatabase& database) {
        db.SetParams(database.DatabaseFile(), TDMGlobDB::AppUserName(), TDMGlobDB::AppUserPassword(),
                     QStringLiteral("UTF8"));
        tr.StartTransaction();
    }
    void Exec(const QString& sql) { TQuery(tr, sql).ExecSQL(); }

    TDatabase db;
    TTransaction tr{db};
};

class SettingsData : public DatabaseTest {
protected:
    TAppContext context{database.ExecutablePath()};
    TDMGlobDB& appDb = context.Db();
    QString Text(const QString& sql) { return database.Scalar(sql).toString(); }
};

TEST_F(SettingsData, PricesStoreTheDiscountsAndTheDaysAndChangeChargedDaysAtOnce) {
    TSpecCena& cena = context.SpecCena();
    const QDateTime friday(QDate(2005, 3, 4), QTime(10, 0));
    EXPECT_EQ(cena.ChargedDays(friday, friday.addDays(4)), 4);
    SavePrices(appDb, cena, {{2, 5}, {5, 12.5}}, {true, true, true, true, true, false, false});
    EXPECT_EQ(cena.ChargedDays(friday, friday.addDays(4)), 2);
    EXPECT_EQ(Text(QStringLiteral("select list(PUJCENO || ':' || SLEVA, ' ') from SPEC_SLEVY")),
              QStringLiteral("2:5.00 5:12.50"));
    EXPECT_EQ(Text(QStringLiteral("select PLAT_PO || PLAT_PA || PLAT_SO || PLAT_NE from SPEC_CENA")),
              QStringLiteral("AANN"));
    SavePrices(appDb, cena, {}, {true, true, true, true, true, false, false});
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from SPEC_SLEVY")).toInt(), 0);
}

TEST_F(SettingsData, AFailedPriceSaveChangesNeitherTheDatabaseNorTheSharedRecord) {
    TSpecCena& cena = context.SpecCena();
    SavePrices(appDb, cena, {{3, 10}}, {true, true, true, true, true, true, true});
    TOtherCounter other(database);
    other.Exec(QStringLiteral("update SPEC_CENA set MENA = MENA"));
    EXPECT_THROW(SavePrices(appDb, cena, {{4, 20}}, {true, true, true, true, true, false, false}),
                 EDatabaseError);
    EXPECT_TRUE(cena.GetPlatSo());
    EXPECT_EQ(Text(QStringLiteral("select list(PUJCENO || ':' || SLEVA) from SPEC_SLEVY")),
              QStringLiteral("3:10.00"));
    EXPECT_EQ(Text(QStringLiteral("select PLAT_SO from SPEC_CENA")), QStringLiteral("A"));
}

TEST_F(SettingsData, EnvironmentStoresOnlyWhatChangedAndCopiesItAfterTheCommit) {
    TTransaction tr(appDb.DB);
    TEnvironment loaded;
    loaded.Prices = context.SpecCena().Current();
    loaded.App = {};
    for (std::size_t i = 0; i < kCodeLists.size(); ++i)
        loaded.Lists[i] = LoadCodeList(appDb, tr, kCodeLists[i]);
    tr.Commit();
    ASSERT_FALSE(loaded.Lists[0].isEmpty());
    EXPECT_EQ(loaded.Lists[0].first().Name, QStringLiteral("Akční"));

    TEnvironment changed = loaded;
    changed.Prices.CenaVipDvd = 30;
    changed.Prices.CenaVipVhs = 20;
    changed.Prices.DphPujcka = QStringLiteral("A");
    changed.App.MailHost = QStringLiteral("smtp.example.cz");
    changed.Lists[0].first().Name = QStringLiteral("Akční film");
    changed.Lists[0].append({QVariant(), QStringLiteral("Rock'n'roll"), QString()});
    ASSERT_FALSE(CheckEnvironment(changed).has_value());

    // A counter that holds the subtitle list does not stop this save: only changes are written.
    TOtherCounter other(database);
    other.Exec(QStringLiteral("update FILM_TITULKY set POPIS_TIT = POPIS_TIT"));
    SaveEnvironment(appDb, context.SpecCena(), context.SpecApp(), loaded, changed);
    other.tr.Commit();

    EXPECT_EQ(Text(QStringLiteral(
                  "select CENA_VIP_DVD || '/' || CENA_VIP_VHS || '/' || DPH_PUJCKA from SPEC_CENA")),
              QStringLiteral("30.00/20.00/A"));
    EXPECT_DOUBLE_EQ(context.SpecCena().GetSazbaPujcka(), 12);
    EXPECT_EQ(context.SpecApp().GetMailHost(), QStringLiteral("smtp.example.cz"));
    EXPECT_EQ(Text(QStringLiteral("select MAIL_HOST from SPEC_APP")), QStringLiteral("smtp.example.cz"));
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from ZANRY where NAZEV_ZANR = 'Rock''n''roll'"))
                  .toInt(),
              1);
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select count(*) from ZANRY where NAZEV_ZANR = 'Akční film'")).toInt(),
        1);
}

TEST_F(SettingsData, AFailedEnvironmentSaveLeavesTheVatRatesInUseAsStored) {
    TEnvironment loaded;
    loaded.Prices = context.SpecCena().Current();
    TEnvironment changed = loaded;
    changed.Prices.DphA = 10;
    changed.Prices.DphB = 20;
    TOtherCounter other(database);
    other.Exec(QStringLiteral("update SPEC_CENA set MENA = MENA"));
    EXPECT_THROW(SaveEnvironment(appDb, context.SpecCena(), context.SpecApp(), loaded, changed),
                 EDatabaseError);
    EXPECT_DOUBLE_EQ(context.SpecCena().GetDphA(), 12);
    EXPECT_DOUBLE_EQ(context.SpecCena().GetDphB(), 21);
    EXPECT_EQ(Text(QStringLiteral("select DPH_A || '/' || DPH_B from SPEC_CENA")),
              QStringLiteral("12.00/21.00"));
}

TEST_F(SettingsData, EnvironmentRefusesAnEmptiedListEntryAndImpossibleRates) {
    TEnvironment environment;
    environment.Prices = context.SpecCena().Current();
    environment.Lists[1].append({7, QString(), QStringLiteral("Dolby")});
    EXPECT_EQ(CheckEnvironment(environment),
              QStringLiteral("Položka seznamu \"Dolby\" nemůže zůstat bez názvu. Data nelze uložit."));
    environment.Prices.DphB = 120;
    EXPECT_TRUE(CheckEnvironment(environment)->startsWith(QStringLiteral("Sazba DPH")));
}

TEST_F(SettingsData, BranchSaveReachesTheSharedRecordAtOnce) {
    TPobocka& pobocka = context.Pobocka();
    EXPECT_EQ(pobocka.GetTel(), QString());
    TTransaction tr(appDb.DB);
    const auto loaded = LoadBranch(appDb, tr);
    tr.Commit();
    ASSERT_TRUE(loaded.has_value());
    TBranch branch = *loaded;
    branch.Tel = QStringLiteral("777 123 456");
    branch.TextDoklad = QStringLiteral("Děkujeme.\r\nPřijďte zas.");
    QImage logo(8, 4, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QBuffer bytes(&branch.Logo);
    bytes.open(QIODevice::WriteOnly);
    logo.save(&bytes, "BMP");
    SaveBranch(appDb, pobocka, *loaded, branch);
    EXPECT_EQ(pobocka.GetTel(), QStringLiteral("777 123 456"));
    EXPECT_EQ(pobocka.GetTextDoklad(), QStringLiteral("Děkujeme.\r\nPřijďte zas."));
    EXPECT_EQ(pobocka.GetLogo().size(), QSize(8, 4));

    TBranch noLogo = branch;
    noLogo.Logo.clear();
    SaveBranch(appDb, pobocka, branch, noLogo);
    EXPECT_TRUE(pobocka.GetLogo().isNull());
    EXPECT_TRUE(database.Scalar(QStringLiteral("select LOGO from POBOCKA")).isNull());
}

TEST_F(SettingsData, AReceiptTextLongerThanItsColumnIsRefusedAndOneThatFitsIsStoredWhole) {
    TTransaction tr(appDb.DB);
    const auto loaded = LoadBranch(appDb, tr);
    tr.Commit();
    ASSERT_TRUE(loaded.has_value());
    TBranch branch = *loaded;
    branch.TextDoklad = QString(513, u'Ž');
    EXPECT_EQ(CheckBranch(branch),
              QStringLiteral("Text na doklad může mít nejvýše 512 znaků, zadaný má 513. Data nelze uložit."));
    branch.TextDoklad.chop(1);
    EXPECT_EQ(CheckBranch(branch), std::nullopt);
    SaveBranch(appDb, context.Pobocka(), *loaded, branch);
    EXPECT_EQ(database.Scalar(QStringLiteral("select TEXT_DOKLAD from POBOCKA")).toString(),
              branch.TextDoklad);
}

TEST_F(SettingsData, UsersNewDuplicateRightsBlockingPasswordAndLogin) {
    TUserInput novak;
    novak.Uzivatel = QStringLiteral("novák");
    novak.Jmeno = QStringLiteral("Jan");
    novak.Prijmeni = QStringLiteral("Novák");
    novak.Poznamky = QStringLiteral("první řádek\r\ndruhý");
    TUserSave saved = SaveUser(appDb, novak, -1);
    ASSERT_TRUE(saved.Saved) << saved.Message.toStdString();
    EXPECT_EQ(Text(QStringLiteral("select UZIVATEL || PRAVA || POVOLENI from UZIVATELE where KOD_UZIV = ") +
                   QString::number(saved.Key)),
              QStringLiteral("NOVÁKPA"));
    EXPECT_TRUE(database
                    .Scalar(QStringLiteral("select HESLO from UZIVATELE where KOD_UZIV = ") +
                            QString::number(saved.Key))
                    .isNull());

    TUserInput again = novak;
    again.Uzivatel = QStringLiteral("NOVÁK");
    const TUserSave duplicate = SaveUser(appDb, again, -1);
    EXPECT_FALSE(duplicate.Saved);
    EXPECT_EQ(duplicate.Field, TUserField::Uzivatel);
    EXPECT_EQ(duplicate.Message,
              QStringLiteral(
                  "Uživatel \"NOVÁK\" již existuje.\rDalšího se stejným uživatelským jménem nelze zadat."));
    // His own unchanged name passes; rights and blocking are stored.
    again.Prava = u'V';
    again.Povoleni = false;
    EXPECT_TRUE(SaveUser(appDb, again, saved.Key).Saved);
    EXPECT_EQ(Text(QStringLiteral("select PRAVA || POVOLENI from UZIVATELE where KOD_UZIV = ") +
                   QString::number(saved.Key)),
              QStringLiteral("VN"));

    TCurrentUser user;
    TTransaction tr(appDb.DB);
    EXPECT_EQ(LoginUser(appDb, tr, QStringLiteral("Novák"), QString(), user), TLoginOutcome::Blocked);
    again.Povoleni = true;
    ASSERT_TRUE(SaveUser(appDb, again, saved.Key).Saved);
    database.Exec(QStringLiteral("update UZIVATELE set HESLO = '") + EncodePassword(QStringLiteral("tajné")) +
                  QStringLiteral("' where KOD_UZIV = ") + QString::number(saved.Key));
    EXPECT_EQ(LoginUser(appDb, tr, QStringLiteral("Novák"), QString(), user), TLoginOutcome::Refused);
    EXPECT_EQ(ClearPassword(appDb, saved.Key, QStringLiteral("NOVÁK")),
              QStringLiteral("Heslo uživatele \"NOVÁK\" bylo smazáno."));
    EXPECT_EQ(LoginUser(appDb, tr, QStringLiteral("Novák"), QString(), user), TLoginOutcome::LoggedIn);
    EXPECT_EQ(user.Prava, u'V');
    tr.Commit();
}

TEST_F(SettingsData, TheSameNewLoginFromTwoCountersIsStoredOnce) {
    TUserInput eva;
    eva.Uzivatel = QStringLiteral("eva");
    eva.Jmeno = QStringLiteral("Eva");
    eva.Prijmeni = QStringLiteral("Malá");
    {
        // The other counter's insert is not committed yet: this save must not pass it by.
        TOtherCounter other(database);
        other.Exec(QStringLiteral(
            "insert into UZIVATELE (UZIVATEL, JMENO, PRIJMENI) values ('EVA', 'Eva', 'Velká')"));
        const TUserSave racing = SaveUser(appDb, eva, -1);
        EXPECT_FALSE(racing.Saved);
        EXPECT_EQ(racing.Field, TUserField::Uzivatel);
        other.tr.Commit();
    }
    const TUserSave after = SaveUser(appDb, eva, -1);
    EXPECT_FALSE(after.Saved);
    EXPECT_TRUE(after.Message.startsWith(QStringLiteral("Uživatel \"eva\" již existuje.")));
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select count(*) from UZIVATELE where UZIVATEL = 'EVA'")).toInt(), 1);
}

TEST_F(SettingsData, ThePermittedAdministratorsNeverAllGoNotEvenFromTwoCountersAtOnce) {
    const auto admin = [&](const QString& login) {
        TUserInput input;
        input.Uzivatel = login;
        input.Jmeno = QStringLiteral("Jan");
        input.Prijmeni = login;
        input.Prava = u'A';
        return input;
    };
    TUserInput first = admin(QStringLiteral("ADMIN"));
    first.Prava = u'V';
    const TUserSave demoted = SaveUser(appDb, first, database.AdminKey());
    EXPECT_FALSE(demoted.Saved);
    EXPECT_TRUE(demoted.Message.startsWith(QStringLiteral("Uživatel je jediným povoleným administrátorem.")));
    first = admin(QStringLiteral("ADMIN"));
    first.Povoleni = false;
    EXPECT_FALSE(SaveUser(appDb, first, database.AdminKey()).Saved);

    const TUserSave second = SaveUser(appDb, admin(QStringLiteral("DRUHÝ")), -1);
    ASSERT_TRUE(second.Saved);
    first.Povoleni = true;
    first.Prava = u'P';
    {
        // The other counter is demoting the second administrator at this moment.
        TOtherCounter other(database);
        other.Exec(QStringLiteral("update UZIVATELE set PRAVA = 'P' where KOD_UZIV = ") +
                   QString::number(second.Key));
        EXPECT_FALSE(SaveUser(appDb, first, database.AdminKey()).Saved);
        other.tr.Commit();
    }
    EXPECT_FALSE(SaveUser(appDb, first, database.AdminKey()).Saved);
    EXPECT_EQ(
        Text(QStringLiteral("select list(UZIVATEL) from UZIVATELE where PRAVA = 'A' and POVOLENI = 'A'")),
        QStringLiteral("ADMIN"));
}

TEST_F(SettingsData, UserChecksComeInTheOrderOfTheFields) {
    TUserInput input;
    EXPECT_EQ(SaveUser(appDb, input, -1).Message, QStringLiteral("Není zadán uživatel. Data nelze uložit."));
    input.Uzivatel = QStringLiteral("x");
    EXPECT_EQ(SaveUser(appDb, input, -1).Field, TUserField::Jmeno);
    input.Jmeno = QStringLiteral("X");
    EXPECT_EQ(SaveUser(appDb, input, -1).Message, QStringLiteral("Není zadáno příjmení. Data nelze uložit."));
}

TEST_F(SettingsData, DatabaseSettingsTakeTheToolsAtOnceAndTheConnectionAtTheNextStart) {
    TDbConfig config = appDb.Config;
    config.GBAKFile = QStringLiteral("/opt/firebird/bin/gbak");
    config.Server = QStringLiteral("server");
    EXPECT_TRUE(SaveDatabaseSettings(appDb, config));
    EXPECT_EQ(appDb.Config.GBAKFile, QStringLiteral("/opt/firebird/bin/gbak"));
    EXPECT_EQ(appDb.Config.Server, QString());
    EXPECT_EQ(TDMGlobDB(database.ExecutablePath()).Config.Server, QStringLiteral("server"));
    config.Server.clear();
    EXPECT_FALSE(SaveDatabaseSettings(appDb, config));
}

TEST_F(SettingsData, AConfigurationFileThatCannotBeWrittenChangesNothingInUse) {
    // The file's name is taken by a folder.
    const QString folder = QDir(database.Dir()).filePath(QStringLiteral("Kinodesk.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    TDMGlobDB kinodesk(QDir(database.Dir()).filePath(QStringLiteral("Kinodesk")));
    TDbConfig config = kinodesk.Config;
    config.GBAKFile = QStringLiteral("/opt/firebird/bin/gbak");
    EXPECT_THROW(SaveDatabaseSettings(kinodesk, config), ECinemonError);
    EXPECT_NE(kinodesk.Config.GBAKFile, QStringLiteral("/opt/firebird/bin/gbak"));
}

} // namespace
