#include "ReservationWindow.h"
#include "LendingFixture.h"
#include "PriceSettings.h"

namespace {

// Finding a title to reserve and counting its free media, on a real database.
class ReservationWindow : public LendingShop {
protected:
    ReservationWindow() {
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 1);
        database.Exec(QStringLiteral("update TITULY set EAN_KOD = '8594046123456' where KOD_TITUL = 3"));
        medium1 = AddMedium(1, 3);
        AddMedium(2, 3);
    }
    void LendUntil(int kodNosic, int kodTitul, int kodZak, const QDate& first, const QDate& due) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, %3, %4, "
                           "CURRENT_TIMESTAMP, 30, %5, 1)")
                .arg(kodTitul)
                .arg(kodNosic)
                .arg(kodZak)
                .arg(SqlDate(first), SqlDate(due)));
    }
    void ReserveFor(int kodTitul, int kodZak, const QDate& first, int days) {
        database.Exec(
            QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) "
                           "values (%1, %2, %3, %4)")
                .arg(kodTitul)
                .arg(kodZak)
                .arg(SqlDate(first), SqlDate(first.addDays(days))));
    }
    std::vector<int> Counts(int kodZak, const QDate& start) {
        TTransaction tr(db.DB);
        std::vector<int> counts;
        for (const TFreeDay& day : FreeDays(db, tr, 3, kodZak, 2, start))
            counts.push_back(day.pocet);
        return counts;
    }
    std::optional<TReservableTitle> ByCode(const QString& typed) {
        TTransaction tr(db.DB);
        return FindTitleByCode(db, tr, typed);
    }
    std::vector<int> MediaByName(const QString& text) {
        TTransaction tr(db.DB);
        std::vector<int> media;
        for (const TReservableTitle& title : FindTitlesByName(db, tr, text))
            media.push_back(title.kodNosic);
        return media;
    }

    const QDate today = QDate::currentDate();
    QString medium1;
};

TEST_F(ReservationWindow, LoansAndOtherCustomersReservationsTakeMediaOffTheirDays) {
    // One medium out until the day after tomorrow, the other reserved by someone else for
    // tomorrow only.
    LendUntil(1, 3, 601, today.addDays(-3), today.addDays(2));
    ReserveFor(3, 602, today.addDays(1), 1);
    std::vector<int> expected(kWindowDays, 2);
    expected[0] = 1;
    expected[1] = 0;
    EXPECT_EQ(Counts(501, today), expected);

    TTransaction tr(db.DB);
    const std::vector<TFreeDay> days = FreeDays(db, tr, 3, 501, 2, today);
    ASSERT_EQ(days.size(), std::size_t(kWindowDays));
    EXPECT_EQ(days.front().day, today);
    EXPECT_EQ(days.back().day, today.addDays(kWindowDays - 1));
    EXPECT_EQ(FirstChoosable(days, today), 0);
    EXPECT_FALSE(Choosable(days[1], today)) << "nothing free tomorrow";
    EXPECT_TRUE(Choosable(days[2], today));
    EXPECT_FALSE(Choosable({today.addDays(-1), 2}, today)) << "a day gone by";
}

TEST_F(ReservationWindow, TheCustomersOwnReservationsReturnedAndOverdueLoansLeaveTheCountsAlone) {
    ReserveFor(3, 501, today, 5);
    LendUntil(1, 3, 601, today.addDays(-10), today.addDays(-2)); // overdue: held, but not counted ahead
    LendUntil(2, 3, 602, today.addDays(-5), today.addDays(4));
    database.Exec(QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = 2"));
    EXPECT_EQ(Counts(501, today), std::vector<int>(kWindowDays, 2));

    std::vector<int> forSomeoneElse(kWindowDays, 2);
    for (int i = 0; i < 5; ++i)
        forSomeoneElse[static_cast<std::size_t>(i)] = 1;
    EXPECT_EQ(Counts(777, today), forSomeoneElse);
}

TEST_F(ReservationWindow, AWindowMovedBackHasNoDayToChoose) {
    ReserveFor(3, 602, today.addDays(-20), 10);
    TTransaction tr(db.DB);
    const std::vector<TFreeDay> days = FreeDays(db, tr, 3, 501, 2, today.addDays(-kWindowDays));
    EXPECT_EQ(days[0].pocet, 1) << "reserved since before the window";
    EXPECT_EQ(days[3].pocet, 1) << "the reservation's last day";
    EXPECT_EQ(days[4].pocet, 2) << "its end day is free again";
    EXPECT_EQ(FirstChoosable(days, today), -1);
}

TEST_F(ReservationWindow, TheLengthRunsToTheNextChargedDayFromTheChosenDay) {
    const QDate friday(2026, 12, 11);
    ASSERT_EQ(friday.dayOfWeek(), 5);
    const auto length = [&](const QDate& first) {
        TTransaction tr(db.DB);
        TSpecCena prices(db); // reads the weekdays as they are now
        return DefaultReservationLength(prices, first, 2, [&](const QDate& day) {
            return ReservationsStartingByOthers(db, tr, 3, 501, day);
        });
    };
    EXPECT_EQ(length(friday), 1) << "every day charged";
    Charge("AAAAANN");
    EXPECT_EQ(length(friday), 3) << "over the free weekend to Monday";
    EXPECT_EQ(length(friday.addDays(-2)), 1);

    ReserveFor(3, 601, friday.addDays(2), 1);
    ReserveFor(3, 501, friday.addDays(1), 1);
    EXPECT_EQ(length(friday), 3) << "one medium is still free on Sunday, the customer's own Saturday";
    ReserveFor(3, 602, friday.addDays(2), 1);
    EXPECT_EQ(length(friday), 2) << "Sunday fully reserved by others ends the stretch";
}

TEST_F(ReservationWindow, ReservationsCoveringADayAreCountedAsTheDeskChecksThem) {
    const QDate day = today.addDays(5);
    ReserveFor(3, 601, day.addDays(-1), 2); // covers the day
    ReserveFor(3, 602, day, 1);             // covers the day
    ReserveFor(3, 603, day.addDays(-2), 2); // ends on the day
    ReserveFor(3, 604, day.addDays(1), 3);  // begins after it
    ReserveFor(3, 501, day, 1);             // the customer's own
    TTransaction tr(db.DB);
    EXPECT_EQ(ReservationsCoveringByOthers(db, tr, 3, 501, day), 2);
    EXPECT_EQ(ReservationsCoveringByOthers(db, tr, 3, 601, day), 2);
    EXPECT_TRUE(FullyReserved(2, 2));
    EXPECT_TRUE(FullyReserved(3, 2)) << "more reservations than media";
    EXPECT_FALSE(FullyReserved(1, 2));
    EXPECT_FALSE(FullyReserved(0, 0));
}

TEST_F(ReservationWindow, ATitleIsFoundByItsCodeAMediumCodeOrNumberButNeverThroughARetiredMedium) {
    const std::optional<TReservableTitle> byTitleCode = ByCode(QStringLiteral("8594046123456"));
    ASSERT_TRUE(byTitleCode);
    EXPECT_EQ(byTitleCode->kodTitul, 3);
    EXPECT_EQ(byTitleCode->eanKod, QStringLiteral("8594046123456"));
    EXPECT_EQ(byTitleCode->nazevCesky, QStringLiteral("Pelíšky"));
    EXPECT_EQ(byTitleCode->typNosice, QStringLiteral("D"));
    EXPECT_EQ(byTitleCode->pocetCelkem, 2);
    EXPECT_EQ(byTitleCode->pocetPritomno, 1);
    ASSERT_TRUE(ByCode(medium1));
    EXPECT_EQ(ByCode(medium1)->kodNosic, 1);
    ASSERT_TRUE(ByCode(QStringLiteral(" 2 ")));
    EXPECT_EQ(ByCode(QStringLiteral(" 2 "))->kodNosic, 2);

    AddTitle(5, QStringLiteral("Obecná škola"), QStringLiteral("V"), 20, 2, 1);
    const QString retired = AddMedium(50, 5, true);
    AddMedium(51, 5);
    EXPECT_FALSE(ByCode(retired)) << "the retired medium's label, though its title has another medium";
    EXPECT_FALSE(ByCode(QStringLiteral("50")));

    AddTitle(6, QStringLiteral("Kolja"), QStringLiteral("D"), 30, 1, 0);
    database.Exec(QStringLiteral("update TITULY set EAN_KOD = '8594046999999' where KOD_TITUL = 6"));
    AddMedium(60, 6, true);
    EXPECT_FALSE(ByCode(QStringLiteral("8594046999999"))) << "every medium of the title is retired";
    TTransaction tr(db.DB);
    EXPECT_EQ(FirstMediumOfTitle(db, tr, 6), -1);
    EXPECT_EQ(FirstMediumOfTitle(db, tr, 5), 51);
}

TEST_F(ReservationWindow, ANameSearchListsEveryMediumNotRetiredAndMatchesEitherName) {
    AddMedium(4, 3, true);
    AddMedium(5, 3);
    EXPECT_EQ(MediaByName(QStringLiteral("pelíš")), (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(MediaByName(QStringLiteral("(ORIG.)")), (std::vector<int>{1, 2, 5}))
        << "the original name's alternative keeps the retired medium out as well";
    EXPECT_TRUE(MediaByName(QStringLiteral("Kolja")).empty());
}

TEST_F(ReservationWindow, ApostrophesInWhatWasTypedAreSearchedForNotExecuted) {
    EXPECT_FALSE(ByCode(QStringLiteral("12'4567")));
    EXPECT_FALSE(ByCode(QStringLiteral("1'2")));
    EXPECT_TRUE(MediaByName(QStringLiteral("d'Artagnan")).empty());
    AddTitle(7, QStringLiteral("Ocean's Eleven"), QStringLiteral("D"), 35, 1, 1);
    AddMedium(70, 7);
    EXPECT_EQ(MediaByName(QStringLiteral("n's e")), std::vector<int>{70});
}

} // namespace
