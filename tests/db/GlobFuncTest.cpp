#include "GlobFunc.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QDateTime kMarch7 = QDateTime(QDate(2005, 3, 7), QTime(14, 5, 9));

TEST(SqlLiterals, TextIsQuotedEscapedOrNull) {
    EXPECT_EQ(SqlText(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(SqlText(QString()), QStringLiteral("null"));
    EXPECT_EQ(SqlEquals(QString()), QStringLiteral("is null"));
    EXPECT_EQ(SqlEquals(QStringLiteral("a'b")), QStringLiteral("= 'a''b'"));
}

TEST(SqlLiterals, ControlCharactersBecomeBlanksUnlessKept) {
    const QString text = QStringLiteral("a\tb\nc");
    EXPECT_EQ(SqlEscape(text), QStringLiteral("a b c"));
    EXPECT_EQ(SqlEscape(text, true), text);
    EXPECT_EQ(SqlEscape(QStringLiteral("\x01'")), QStringLiteral(" ''"));
}

TEST(SqlLiterals, NumbersIgnoreTheRegionalDecimalComma) {
    QLocale::setDefault(QLocale(QLocale::Czech));
    EXPECT_EQ(FloatToSql(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(FloatToSql(0), QStringLiteral("0"));
    EXPECT_EQ(FloatToSql(-3.25), QStringLiteral("-3.25"));
    EXPECT_EQ(FloatToSql(1234567.89), QStringLiteral("1234567.89"));
    EXPECT_EQ(FloatToSql(0.1 + 0.2), QStringLiteral("0.3"));
}

TEST(SqlLiterals, DatesAndTimestamps) {
    EXPECT_EQ(SqlDate(QDate(2005, 3, 1)), QStringLiteral("'2005-03-01'"));
    EXPECT_EQ(SqlTimestamp(kMarch7), QStringLiteral("'2005-03-07 14:05:09'"));
    EXPECT_EQ(SqlTimestampMs(kMarch7.addMSecs(7)), QStringLiteral("'2005-03-07 14:05:09.007'"));
}

TEST(Formatting, ZeroPaddingNeverCuts) {
    EXPECT_EQ(IntToStrZero(42, 6), QStringLiteral("000042"));
    EXPECT_EQ(IntToStrZero(1234567, 6), QStringLiteral("1234567"));
}

TEST(Formatting, DateTokensAndMinutesAfterHours) {
    EXPECT_EQ(DateToText(QStringLiteral("dd.mm.yyyy"), kMarch7), QStringLiteral("07.03.2005"));
    EXPECT_EQ(DateToText(QStringLiteral("ddmmyy"), kMarch7), QStringLiteral("070305"));
    EXPECT_EQ(DateToText(QStringLiteral("dd.mm.yyyy"), QDateTime()), QString());
    EXPECT_EQ(DateTimeToText(QStringLiteral("yyyy-mm-dd"), QStringLiteral("hh:mm:ss"), QStringLiteral(" "),
                             kMarch7),
              QStringLiteral("2005-03-07 14:05:09"));
    EXPECT_EQ(
        DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm"), QStringLiteral(" "), kMarch7),
        QStringLiteral("07.03.2005 14:05"));
}

TEST(UpperCz, FoldsCzechLettersAndKeepsTheRest) {
    EXPECT_EQ(UpperCz(QStringLiteral("žluťoučký kůň")), QStringLiteral("ŽLUŤOUČKÝ KŮŇ"));
    EXPECT_EQ(UpperCz(QStringLiteral("áäčďéěëíĺňóöřšťúůüýž")), QStringLiteral("ÁÄČĎÉĚËÍĹŇÓÖŘŠŤÚŮÜÝŽ"));
    EXPECT_EQ(UpperCz(QStringLiteral("a1-b.?")), QStringLiteral("A1-B.?"));
}

TEST(Money, HalvesRoundAwayFromZero) {
    EXPECT_DOUBLE_EQ(RoundTo(0.01, 2.125), 2.13);
    EXPECT_DOUBLE_EQ(RoundTo(0.01, -2.125), -2.13);
    EXPECT_DOUBLE_EQ(RoundTo(0.01, 1.005), 1.01);
    EXPECT_DOUBLE_EQ(RoundTo(0.01, 2.124), 2.12);
    EXPECT_DOUBLE_EQ(PriceWithoutVat(119, 19), 100);
    EXPECT_DOUBLE_EQ(PriceWithoutVat(30, 21), 24.79);
    EXPECT_DOUBLE_EQ(PriceWithoutVat(30, 0), 30);
}

TEST(Money, RoundedAmountsAreExactlyTheDecimalAmounts) {
    // Desks compare rounded amounts with amounts typed or read back; an amount one bit off
    // (1.1500000000000001) would not equal the 1.15 the clerk typed.
    for (int cents = -100000; cents <= 100000; ++cents) {
        const double amount = cents / 100.0;
        ASSERT_EQ(RoundTo(0.01, amount), amount) << cents;
    }
    EXPECT_EQ(RoundTo(0.01, 1.149999), 1.15);
    EXPECT_EQ(RoundTo(0.1, 0.25), 0.3);
    EXPECT_EQ(RoundTo(0.5, -2.3), -2.5);
    EXPECT_EQ(PriceWithoutVat(34.8, 21), 28.76);
}

TEST(Codes, CustomerAndMediumCodes) {
    EXPECT_EQ(NewCustomerCode(42, QDateTime(QDate(2005, 3, 7), QTime(14, 5))),
              QStringLiteral("0703051405000042"));
    EXPECT_EQ(NewMediumCode(123456, 7, QDateTime(QDate(2005, 12, 25), QTime(9, 0))),
              QStringLiteral("6512053456000007"));
    // The first day digit 0..3 becomes 4..7, so medium codes never look like card codes.
    EXPECT_EQ(NewMediumCode(1, 1, QDateTime(QDate(2026, 1, 9), QTime(0, 0))).left(1), QStringLiteral("4"));
    EXPECT_EQ(NewMediumCode(1, 1, QDateTime(QDate(2026, 1, 31), QTime(0, 0))).left(1), QStringLiteral("7"));
}

TEST(PositionStrings, TicksToCodesAndBack) {
    std::vector<TCheckEntry> list{{1, true}, {2, false}, {3, true}};
    EXPECT_EQ(CheckListToCodes(list), QStringLiteral("ANA"));
    for (auto& entry : list)
        entry.checked = false;
    EXPECT_EQ(CheckListToCodes(list), QString());

    std::vector<TCheckEntry> withGap{{1, false}, {3, true}, {81, true}, {0, true}};
    EXPECT_EQ(CheckListToCodes(withGap), QStringLiteral("NNA"));

    std::vector<TCheckEntry> target{{1, true}, {2, true}, {4, true}, {7, true}};
    CodesToCheckList(QStringLiteral("NAANA"), target);
    EXPECT_FALSE(target[0].checked);
    EXPECT_TRUE(target[1].checked);
    EXPECT_FALSE(target[2].checked); // position 4 is 'N'
    EXPECT_FALSE(target[3].checked); // beyond the string: cleared
}

TEST(FitPicture, ScalesIntoTheFrameAndCentres) {
    EXPECT_EQ(FitPicture(100, 50, QRect(0, 0, 300, 200), QRect()), QRect(100, 75, 100, 50));
    // A large picture is scaled down to the frame minus its border.
    EXPECT_EQ(FitPicture(1000, 500, QRect(10, 10, 302, 202), QRect()), QRect(11, 36, 300, 150));
    const QRect current(5, 5, 7, 7);
    EXPECT_EQ(FitPicture(0, 50, QRect(0, 0, 300, 200), current), current);
}

} // namespace
