#include "MediumLookup.h"
#include "LendingFixture.h"

namespace {

class MediumLookup : public LendingShop {
protected:
    MediumLookup() {
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 3, 2);
        code1 = AddMedium(1, 3);
        AddMedium(123, 3);
        retired = AddMedium(7, 3, true);
        Lend(123, 3, 501);
    }
    std::optional<TMediumToLend> ToLend(const QString& typed) {
        TTransaction transaction(db.DB);
        return FindMediumToLend(db, transaction, typed);
    }
    std::optional<TMediumOnLoan> OnLoan(const QString& typed) {
        TTransaction transaction(db.DB);
        return FindMediumOnLoan(db, transaction, typed);
    }

    QString code1;
    QString retired;
};

TEST_F(MediumLookup, TheNumberTheZeroPaddedNumberAndTheFullCodeFindTheSameMedium) {
    for (const QString& typed :
         {QStringLiteral("1"), QStringLiteral("000001"), code1, QStringLiteral(" 1 ")}) {
        const auto found = ToLend(typed);
        ASSERT_TRUE(found) << typed.toStdString();
        EXPECT_EQ(found->kodNosic, 1);
        EXPECT_EQ(found->eanKod, code1);
        EXPECT_EQ(found->kodTitul, 3);
        EXPECT_EQ(found->nazevCesky, QStringLiteral("Pelíšky"));
        EXPECT_EQ(found->typNosice, QStringLiteral("D"));
        EXPECT_EQ(found->cenaPujcka, 35);
        EXPECT_EQ(found->pocetCelkem, 3);
        EXPECT_EQ(found->pocetPritomno, 2);
    }
    ASSERT_TRUE(ToLend(QStringLiteral("123")));
    EXPECT_EQ(ToLend(QStringLiteral("123"))->kodNosic, 123) << "whoever has it: the desk checks that";
}

TEST_F(MediumLookup, SevenCharactersWithBlanksAreAFullCodeAndLettersFindNothing) {
    EXPECT_FALSE(ToLend(QStringLiteral("  1    "))) << "seven characters: a full code, which 1 is not";
    EXPECT_FALSE(ToLend(QStringLiteral("abc")));
    EXPECT_FALSE(ToLend(QStringLiteral("9999")));
    EXPECT_EQ(MediumNotFoundText(QStringLiteral("abc")),
              QStringLiteral("Žádný nosič s CN kódem abc nebyl nalezen."));
}

TEST_F(MediumLookup, ACodeWithAnApostropheIsNotFoundInsteadOfBreakingTheStatement) {
    EXPECT_FALSE(ToLend(QStringLiteral("12'4567")));
    EXPECT_FALSE(ToLend(QStringLiteral("' or 1=1 or '")));
    EXPECT_FALSE(OnLoan(QStringLiteral("' or 1=1 or '")));
    EXPECT_FALSE(ToLend(QStringLiteral("1'")));
}

TEST_F(MediumLookup, ARetiredMediumIsNotLentButComesBackWhileOnLoan) {
    EXPECT_FALSE(ToLend(QStringLiteral("7")));
    EXPECT_FALSE(ToLend(retired));
    EXPECT_FALSE(OnLoan(QStringLiteral("7"))) << "not out on loan";
    Lend(7, 3, 502);
    const auto back = OnLoan(retired);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->retired);
    EXPECT_EQ(back->kodZak, 502);
}

TEST_F(MediumLookup, OnlyMediaOutOnAnOpenLoanAreFoundForReturnsAndComplaints) {
    EXPECT_FALSE(OnLoan(QStringLiteral("1")));
    const auto out = OnLoan(QStringLiteral("123"));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->kodNosic, 123);
    EXPECT_EQ(out->kodZak, 501);
    EXPECT_FALSE(out->retired);
    EXPECT_EQ(out->pocetCelkem, 3);
    database.Exec(QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = 123"));
    EXPECT_FALSE(OnLoan(QStringLiteral("123"))) << "a loan returned is closed";
}

} // namespace
