#include "CustomerDeskFixture.h"

#include "GlobFunc.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"

namespace {

const QString kUnsaved = QStringLiteral("Provedené změny nebyly uloženy. Uložit?");

TEST_F(CustomerDesk, ANewCustomerGetsTheNextKeyItsCardCodeAndEqualDates) {
    const int next =
        database.Scalar(QStringLiteral("select gen_id(GEN_KOD_ZAK, 0) from RDB$DATABASE")).toInt() + 1;
    Click("BNovy");
    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::Edit);
    EXPECT_FALSE(Button("BStatistika")->isEnabled());
    EXPECT_FALSE(SaveEnabled());
    Type("EJmeno", QStringLiteral("Jan"));
    EXPECT_TRUE(SaveEnabled());
    Type("EPrijmeni", QStringLiteral("Nováček"));
    Type("EAdrObec", QStringLiteral("Brno"));
    Click("BUlozit");

    ASSERT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Ukládám zákazníka...")});
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(CustomerCount(), 1);
    EXPECT_EQ(desk->Key(), next);
    EXPECT_EQ(Column(next, QStringLiteral("POCET_PUJCEK")).toInt(), 0);
    const QString code = Column(next, QStringLiteral("EAN_KOD")).toString();
    EXPECT_EQ(code.size(), 16);
    EXPECT_TRUE(code.endsWith(IntToStrZero(next, 6))) << code.toStdString();
    EXPECT_EQ(Column(next, QStringLiteral("D_REGISTRACE")), Column(next, QStringLiteral("D_ZMENY")));
    EXPECT_EQ(Column(next, QStringLiteral("UZIV_REG")).toInt(), context.CurrentUser.KodUziv);
    EXPECT_EQ(Column(next, QStringLiteral("PRIJMENI")).toString(), QStringLiteral("Nováček"));
    EXPECT_TRUE(Column(next, QStringLiteral("TITUL_PRED")).isNull());

    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::View);
    EXPECT_EQ(Edit("EKodZak")->text(), QString::number(next));
    EXPECT_EQ(Edit("EEANKod")->text(), code);
    EXPECT_FALSE(Edit("EDRegistrace")->text().isEmpty());
    EXPECT_EQ(Edit("EUzivReg")->text(), QStringLiteral("Správce")) << "the administrator has no first name";
    EXPECT_EQ(Edit("EUzivZmena")->text(), QStringLiteral("Správce"));
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(Button("BZmenit")->isEnabled());
    EXPECT_TRUE(Button("BTiskPrukazky")->isEnabled());
    EXPECT_TRUE(Button("BPujcit")->isEnabled());
    EXPECT_TRUE(Button("BOdeslat")->isEnabled());
}

TEST_F(CustomerDesk, RequiredNamesAreCheckedButBlanksPass) {
    Click("BNovy");
    Type("EPrijmeni", QStringLiteral("Svoboda"));
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Není zadáno jméno. Data nelze uložit.")});
    EXPECT_EQ(CustomerCount(), 0);
    Type("EJmeno", QStringLiteral("  "));
    Retype("EPrijmeni", QString());
    hook.Clear();
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Není zadáno příjmení. Data nelze uložit.")});
    Type("EPrijmeni", QStringLiteral("Svoboda"));
    hook.Clear();
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(CustomerCount(), 1);
}

// The database refuses a character Windows-1250 cannot hold; the retry after the correction
// must store one customer with a fresh key, not a half-saved one.
TEST_F(CustomerDesk, AFailedSaveOfANewCustomerAndASuccessfulRetryStoreOneCustomer) {
    Click("BNovy");
    Type("EJmeno", QStringLiteral("Li"));
    Type("EPrijmeni", QStringLiteral("Wang"));
    Type("EAdrObec", QStringLiteral("北京"));
    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages.front().text,
              QStringLiteral("Text obsahuje znak „北“ (U+5317), který databáze neumí uložit.\rZměňte prosím "
                             "zadaný text."));
    EXPECT_EQ(hook.messages.front().kind, TMsgKind::Warning);
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(CustomerCount(), 0);
    EXPECT_EQ(desk->Key(), -1);
    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::Edit);
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(Edit("EEANKod")->text().isEmpty());

    Retype("EAdrObec", QStringLiteral("Peking"));
    hook.Clear();
    Click("BUlozit");
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(CustomerCount(), 1);
    const int key = desk->Key();
    EXPECT_TRUE(Column(key, QStringLiteral("EAN_KOD")).toString().endsWith(IntToStrZero(key, 6)));
}

TEST_F(CustomerDesk, ALockHeldByAnotherCounterFailsTheSaveUntilItIsReleased) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    Retype("EJmeno", QStringLiteral("Evženie"));

    TDMGlobDB other(database.ExecutablePath());
    TTransaction otherCounter(other.DB);
    otherCounter.StartTransaction();
    other.ExecSql(otherCounter,
                  QStringLiteral("update ZAKAZNICI set TELEFON = '1' where KOD_ZAK = %1").arg(key));
    Click("BUlozit");
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral(
        "Stejný záznam právě mění jiná pokladna. Akce nebyla provedena; zkuste ji prosím za chvíli znovu.")))
        << hook.messages[0].text.toStdString();
    EXPECT_EQ(Column(key, QStringLiteral("JMENO")).toString(), QStringLiteral("Eva"));
    EXPECT_EQ(Edit("EJmeno")->text(), QStringLiteral("Evženie"));
    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::Edit);
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(desk->Key(), key);
    otherCounter.Commit();

    Click("BUlozit");
    EXPECT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(Column(key, QStringLiteral("JMENO")).toString(), QStringLiteral("Evženie"));
    EXPECT_EQ(CustomerCount(), 1);
}

TEST_F(CustomerDesk, TwoCountersKeepEachOthersChangesAndTheLaterSaveWinsACommonField) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    database.Exec(
        QStringLiteral("update ZAKAZNICI set TELEFON = '111', ADR_OBEC = 'Beroun', POZNAMKY = 'stará' where "
                       "KOD_ZAK = %1")
            .arg(key));
    TAppContext otherContext(database.ExecutablePath());
    otherContext.CurrentUser = context.CurrentUser;
    TFZakaznici other(otherContext);
    other.show();
    other.ShowDesk();
    desk->OpenRecord(key);
    other.OpenRecord(key);

    Click("BZmenit");
    Retype("ETelefon", QStringLiteral("222"));
    Child<TMoxMemo>("MPoznamky")->setPlainText(QStringLiteral("první"));
    at = &other;
    Click("BZmenit");
    Retype("EAdrObec", QStringLiteral("Kladno"));
    Child<TMoxMemo>("MPoznamky")->setPlainText(QStringLiteral("druhá"));
    at = nullptr;

    Click("BUlozit");
    at = &other;
    Click("BUlozit");
    at = nullptr;
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Column(key, QStringLiteral("TELEFON")).toString(), QStringLiteral("222"));
    EXPECT_EQ(Column(key, QStringLiteral("ADR_OBEC")).toString(), QStringLiteral("Kladno"));
    EXPECT_EQ(Column(key, QStringLiteral("POZNAMKY")).toString(), QStringLiteral("druhá"));
}

TEST_F(CustomerDesk, SearchByCodeByNumberAndNotFound) {
    const int key = AddCustomer(QStringLiteral("Petr"), QStringLiteral("Dvořák"));
    const QString code = Column(key, QStringLiteral("EAN_KOD")).toString();
    Type("EHledejEAN", code);
    QTest::keyClick(Edit("EHledejEAN"), Qt::Key_Return);
    EXPECT_EQ(desk->Key(), key);
    EXPECT_EQ(Edit("EPrijmeni")->text(), QStringLiteral("Dvořák"));
    EXPECT_TRUE(Edit("EHledejEAN")->text().isEmpty());
    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::View);

    Type("EHledejEAN", QString::number(key));
    Click("BHledej");
    EXPECT_EQ(desk->Key(), key);

    Type("EHledejEAN", QStringLiteral("12'4"));
    Click("BHledej");
    Retype("EHledejEAN", QStringLiteral("99'9999999"));
    Click("BHledej");
    EXPECT_EQ(hook.Texts(),
              (std::vector<QString>{QStringLiteral("Zákazník s EAN kódem 12'4 nebyl nalezen."),
                                    QStringLiteral("Zákazník s EAN kódem 99'9999999 nebyl nalezen.")}));
}

TEST_F(CustomerDesk, SurnameSearchTakesApostrophesAndBrowses) {
    const int first = AddCustomer(QStringLiteral("Seán"), QStringLiteral("O'Brien"));
    const int second = AddCustomer(QStringLiteral("Róisín"), QStringLiteral("o'brien-Dvořáková"));
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Novák"));
    Type("EHledejPrijmeni", QStringLiteral("o'bri"));
    Click("BHledej");
    ASSERT_TRUE(hook.messages.empty());
    EXPECT_EQ(Child<TMoxLabel>("LFiltr")->text(),
              QStringLiteral("Několik záznamů odpovídá filtru \"o'bri\"."));
    EXPECT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 2"));
    EXPECT_EQ(desk->Key(), first);
    EXPECT_FALSE(Button("BPredchozi")->isEnabled());
    EXPECT_TRUE(Button("BNasledujici")->isEnabled());
    Click("BNasledujici");
    EXPECT_EQ(desk->Key(), second);
    EXPECT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("2 / 2"));
    EXPECT_FALSE(Button("BNasledujici")->isEnabled());

    // Czech folding: a lower-case search finds the upper-case letters with diacritics.
    Type("EHledejPrijmeni", QStringLiteral("dvořákov"));
    Click("BHledej");
    EXPECT_EQ(desk->Key(), second);
    EXPECT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 1"));

    Type("EHledejPrijmeni", QStringLiteral("Nikdo"));
    Click("BHledej");
    EXPECT_EQ(Child<TMoxLabel>("LFiltr")->text(), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("0 / 0"));
}

TEST_F(CustomerDesk, BrowsingTheSurnameResultHoldsNoTransactionOpen) {
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Novák"));
    AddCustomer(QStringLiteral("Jana"), QStringLiteral("Nováková"));
    Type("EHledejPrijmeni", QStringLiteral("Novák"));
    Click("BHledej");
    ASSERT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 2"));
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from MON$TRANSACTIONS where MON$ATTACHMENT_ID <> "
                                         "CURRENT_CONNECTION"))
                  .toInt(),
              0);
}

TEST_F(CustomerDesk, ACodeNotFoundLeavesTheSurnameTypedBesideItToBeSearched) {
    const int key = AddCustomer(QStringLiteral("Petr"), QStringLiteral("Dvořák"));
    Type("EHledejEAN", QStringLiteral("9999999999"));
    Type("EHledejPrijmeni", QStringLiteral("dvoř"));
    Click("BHledej");
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Zákazník s EAN kódem 9999999999 nebyl nalezen.")});
    EXPECT_EQ(desk->Key(), key);
    EXPECT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 1"));
    EXPECT_TRUE(Edit("EHledejEAN")->text().isEmpty());
    EXPECT_TRUE(Edit("EHledejPrijmeni")->text().isEmpty());
}

TEST_F(CustomerDesk, ClosingTheSurnameResultClearsItsFilterAndCounter) {
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Novák"));
    AddCustomer(QStringLiteral("Jana"), QStringLiteral("Nováková"));
    Type("EHledejPrijmeni", QStringLiteral("Novák"));
    Click("BHledej");
    ASSERT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 2"));
    Click("BNovy");
    EXPECT_TRUE(Child<TMoxLabel>("LFiltr")->text().isEmpty());
    EXPECT_TRUE(Child<TMoxLabel>("LPocet")->text().isEmpty());
    EXPECT_FALSE(Button("BNasledujici")->isEnabled());
}

TEST_F(CustomerDesk, EnterSavesOutsideTheSearchFieldsAndASearchAsksToSaveOnce) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    Retype("ETelefon", QStringLiteral("777"));
    QTest::keyClick(Edit("ETelefon"), Qt::Key_Return);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(Column(key, QStringLiteral("TELEFON")).toString(), QStringLiteral("777"));

    Click("BZmenit");
    Retype("EJmeno", QStringLiteral("x"));
    Edit("EJmeno")->clear();
    Type("EHledejEAN", QString::number(key));
    hook.Answer({TMsgResult::Yes});
    QTest::keyClick(Edit("EHledejEAN"), Qt::Key_Return);
    EXPECT_EQ(hook.Texts(),
              (std::vector<QString>{kUnsaved, QStringLiteral("Není zadáno jméno. Data nelze uložit.")}));
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(CustomerDesk, HledejWithBothFieldsEmptyClosesTheSurnameResult) {
    const int first = AddCustomer(QStringLiteral("Jan"), QStringLiteral("Novák"));
    AddCustomer(QStringLiteral("Jana"), QStringLiteral("Nováková"));
    Type("EHledejPrijmeni", QStringLiteral("Novák"));
    Click("BHledej");
    ASSERT_EQ(Child<TMoxLabel>("LPocet")->text(), QStringLiteral("1 / 2"));
    Click("BHledej");
    EXPECT_TRUE(Child<TMoxLabel>("LFiltr")->text().isEmpty());
    EXPECT_TRUE(Child<TMoxLabel>("LPocet")->text().isEmpty());
    EXPECT_FALSE(Button("BNasledujici")->isEnabled());
    EXPECT_EQ(desk->Key(), first);
}

TEST_F(CustomerDesk, TheEmptyDeskShowsNoEndingOfThePreviousCustomer) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    database.Exec(QStringLiteral("update ZAKAZNICI set D_UKONCENI = CURRENT_TIMESTAMP, UZIV_UKON = UZIV_REG "
                                 "where KOD_ZAK = %1")
                      .arg(key));
    desk->OpenRecord(key);
    ASSERT_TRUE(Child("LVyrazen")->isVisible());
    desk->ShowDesk();
    EXPECT_FALSE(Child("LVyrazen")->isVisible());
    EXPECT_FALSE(Edit("EDUkonceni")->isVisible());
    EXPECT_TRUE(Edit("EDUkonceni")->text().isEmpty());
    EXPECT_TRUE(Edit("EUzivUkoncil")->text().isEmpty());
}

TEST_F(CustomerDesk, CanLeaveAsksAndFollowsTheAnswer) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_TRUE(hook.messages.empty());

    Click("BZmenit");
    Retype("ETelefon", QStringLiteral("777 123 456"));
    hook.Answer({TMsgResult::Cancel});
    EXPECT_FALSE(desk->CanLeave());
    EXPECT_EQ(hook.Texts(), std::vector<QString>{kUnsaved});
    EXPECT_EQ(hook.messages.front().buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(SaveEnabled());

    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_TRUE(Column(key, QStringLiteral("TELEFON")).isNull());

    hook.Answer({TMsgResult::Yes});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Column(key, QStringLiteral("TELEFON")).toString(), QStringLiteral("777 123 456"));
    EXPECT_FALSE(SaveEnabled());

    // Ano with a save that cannot succeed keeps the desk.
    Click("BZmenit");
    Retype("EJmeno", QString());
    hook.Clear();
    hook.Answer({TMsgResult::Yes});
    EXPECT_FALSE(desk->CanLeave());
}

// A card read while a new customer is half typed must not throw the typing away unasked.
TEST_F(CustomerDesk, SearchingOffersUnsavedChangesFirst) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    Click("BNovy");
    Type("EJmeno", QStringLiteral("Karel"));
    hook.Answer({TMsgResult::Cancel});
    Type("EHledejEAN", QString::number(key));
    Click("BHledej");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{kUnsaved});
    EXPECT_EQ(desk->Key(), -1);
    EXPECT_EQ(Edit("EJmeno")->text(), QStringLiteral("Karel"));

    hook.Answer({TMsgResult::No});
    Click("BHledej");
    EXPECT_EQ(desk->Key(), key);
    EXPECT_EQ(CustomerCount(), 1);
}

TEST_F(CustomerDesk, VipPricesComeFromTheShopOnlyWhenZero) {
    database.Exec(QStringLiteral("update SPEC_CENA set CENA_VIP_DVD = 25, CENA_VIP_VHS = 15.5"));
    const int vip =
        AddCustomer(QStringLiteral("Ida"), QStringLiteral("Bohatá"), QStringLiteral("'A', 30, 0, 0"));
    desk->OpenRecord(vip);
    auto* dvd = Child<TMoxNumEdit>("ECenaVIPDVD");
    auto* vhs = Child<TMoxNumEdit>("ECenaVIPVHS");
    EXPECT_DOUBLE_EQ(dvd->value(), 30);
    Click("BZmenit");
    EXPECT_FALSE(dvd->isReadOnly());
    Tick("ChVIP");
    EXPECT_TRUE(dvd->isReadOnly());
    Tick("ChVIP");
    EXPECT_DOUBLE_EQ(dvd->value(), 30);
    EXPECT_DOUBLE_EQ(vhs->value(), 15.5);
    Click("BUlozit");
    EXPECT_DOUBLE_EQ(Column(vip, QStringLiteral("CENA_VIP_VHS")).toDouble(), 15.5);

    Click("BNovy");
    EXPECT_DOUBLE_EQ(dvd->value(), 0);
    EXPECT_DOUBLE_EQ(vhs->value(), 0);
    EXPECT_TRUE(dvd->isReadOnly());
    Tick("ChVIP");
    EXPECT_DOUBLE_EQ(dvd->value(), 25);
    EXPECT_DOUBLE_EQ(vhs->value(), 15.5);
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(CustomerDesk, EndingACustomerAfterConfirmation) {
    const int key = AddCustomer(QStringLiteral("Ota"), QStringLiteral("Konečný"));
    desk->OpenRecord(key);
    EXPECT_FALSE(Child("ChVyradit")->isHidden());
    EXPECT_TRUE(Child("LVyrazen")->isHidden());
    Click("BZmenit");
    Tick("ChVyradit");
    hook.Answer({TMsgResult::No});
    Click("BUlozit");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Opravdu vyřadit zákazníka?")});
    EXPECT_TRUE(Column(key, QStringLiteral("D_UKONCENI")).isNull());

    Click("BUlozit");
    EXPECT_FALSE(Column(key, QStringLiteral("D_UKONCENI")).isNull());
    EXPECT_EQ(Column(key, QStringLiteral("UZIV_UKON")).toInt(), context.CurrentUser.KodUziv);
    EXPECT_FALSE(Child("LVyrazen")->isHidden());
    EXPECT_TRUE(Child("ChVyradit")->isHidden());
    EXPECT_FALSE(Edit("EDUkonceni")->text().isEmpty());
    EXPECT_FALSE(Button("BZmenit")->isEnabled());
    EXPECT_FALSE(Button("BTiskPrukazky")->isEnabled());
    EXPECT_TRUE(Button("BPujcit")->isEnabled());
}

TEST_F(CustomerDesk, AMissingCustomerIsReportedAndEmptiesTheDesk) {
    desk->OpenRecord(4711);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Chyba v datech. Data k zákazníkovi nebyla nalezena.")});
    EXPECT_EQ(hook.messages.front().kind, TMsgKind::Error);
    EXPECT_EQ(desk->Mode(), TFZakaznici::TMode::Empty);
    EXPECT_FALSE(Edit("EJmeno")->isEnabled());
}

struct TRecordedRequests final : IMainRequests {
    void RequestLending(int key) override { lending.push_back(key); }
    void RequestCustomer(int) override {}
    void RequestTitle(int) override {}
    void DayClosed() override {}
    std::vector<int> lending;
};

TEST_F(CustomerDesk, LendingIsRequestedForTheCustomerAfterLeaving) {
    TRecordedRequests requests;
    context.Requests = &requests;
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    Click("BZmenit");
    Retype("EEmail", QStringLiteral("eva@example.cz"));
    hook.Answer({TMsgResult::Cancel});
    Click("BPujcit");
    EXPECT_TRUE(requests.lending.empty());
    hook.Answer({TMsgResult::No});
    Click("BPujcit");
    EXPECT_EQ(requests.lending, std::vector<int>{key});
    EXPECT_FALSE(SaveEnabled());
    context.Requests = nullptr;
}

} // namespace
