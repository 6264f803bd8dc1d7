#include "StockList.h"
#include "StockFixture.h"

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

using TKeyState = std::pair<int, char>;

std::vector<TKeyState> Listed(const TStockList& list) {
    std::vector<TKeyState> rows;
    for (int i = 0; i < list.Size(); ++i)
        rows.emplace_back(list.Row(i).kodNosic, list.Row(i).stav.toLatin1());
    return rows;
}

class StockList : public StockShop {
protected:
    void Load(const TStockChoices& choices) {
        RunInTransaction(db.DB, [&](TTransaction& tr) { list.Load(db, tr, choices); });
    }
    TScanResult Scan(const QString& typed, bool deleteFound = false) {
        TScanResult result;
        RunInTransaction(db.DB, [&](TTransaction& tr) { result = list.Scan(db, tr, typed, deleteFound); });
        return result;
    }

    TStockList list;
};

TEST_F(StockList, EachChoiceLoadsItsMediaAndRetiredMediaNever) {
    Load({true, false});
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{{101, 'A'}, {123, 'A'}, {201, 'A'}, {202, 'A'}}));
    Load({false, true});
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{{102, 'P'}, {203, 'P'}}));
    Load({true, true});
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{
                                {101, 'A'}, {102, 'P'}, {123, 'A'}, {201, 'A'}, {202, 'A'}, {203, 'P'}}));
    Load({false, false});
    EXPECT_TRUE(list.IsOpen());
    EXPECT_TRUE(list.IsEmpty());
    // The media in the shop now, whatever was chosen: neither retired nor on loan.
    EXPECT_EQ(list.InShopDvd(), 1);
    EXPECT_EQ(list.InShopVhs(), 3);
}

TEST_F(StockList, ARowCarriesItsTitleAndCode) {
    Load({true, false});
    const TStockRow& row = list.Row(list.RowOf(201));
    EXPECT_EQ(row.kodTitul, 2);
    EXPECT_EQ(row.cnKod, Code(201, 2));
    EXPECT_EQ(row.typNosice, u'V');
    EXPECT_EQ(row.nazevCesky, QStringLiteral("Samotáři"));
    EXPECT_EQ(row.nazevOrig, QStringLiteral("Samotáři (orig.)"));
    EXPECT_EQ(row.eanKod, QStringLiteral("8594000000002"));
}

TEST_F(StockList, AScanByNumberOrByFullCodeMarksTheMediumFoundAndCountsItsType) {
    Load({true, true});
    const TScanResult byNumber = Scan(QStringLiteral("123"));
    EXPECT_EQ(byNumber.outcome, TScanOutcome::Found);
    EXPECT_EQ(byNumber.row, 2);
    EXPECT_TRUE(byNumber.locked);
    const TScanResult byCode = Scan(Code(101, 1));
    EXPECT_EQ(byCode.outcome, TScanOutcome::Found);
    EXPECT_EQ(byCode.row, 0);
    EXPECT_FALSE(byCode.locked);
    // Blanks around a read code are dropped once the length says it is a full code.
    EXPECT_EQ(Scan(QStringLiteral(" ") + Code(202, 2) + QStringLiteral(" ")).outcome, TScanOutcome::Found);
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{
                                {101, 'N'}, {102, 'P'}, {123, 'N'}, {201, 'A'}, {202, 'N'}, {203, 'P'}}));
    EXPECT_EQ(list.FoundDvd(), 1);
    EXPECT_EQ(list.FoundVhs(), 2);
}

TEST_F(StockList, AMediumScannedTwiceCountsOnce) {
    Load({true, false});
    EXPECT_EQ(Scan(QStringLiteral("201")).outcome, TScanOutcome::Found);
    const TScanResult again = Scan(Code(201, 2));
    EXPECT_EQ(again.outcome, TScanOutcome::AlreadyFound);
    EXPECT_EQ(again.row, 2);
    EXPECT_EQ(ScanMessage(again, Code(201, 2)), QStringLiteral("Hledaný nosič byl již do inventury načten."));
    EXPECT_EQ(list.FoundVhs(), 1);
}

TEST_F(StockList, AMediumOnLoanIsNotCounted) {
    Load({true, true});
    const TScanResult result = Scan(QStringLiteral("102"));
    EXPECT_EQ(result.outcome, TScanOutcome::OnLoan);
    EXPECT_EQ(result.row, 1);
    EXPECT_TRUE(result.locked);
    EXPECT_EQ(ScanMessage(result, QStringLiteral("102")),
              QStringLiteral("Hledaný nosič je právě půjčen.\rDo inventury ho nelze započítat."));
    EXPECT_EQ(list.Row(1).stav, u'P');
    EXPECT_EQ(list.FoundDvd(), 0);
}

TEST_F(StockList, AMediumOfTheRegisterOutsideTheListLocksTheChoices) {
    Load({true, false});
    // On loan, so not loaded; retired while on loan; retired.
    for (const QString& typed : {QStringLiteral("102"), Code(104, 1), QStringLiteral("103")}) {
        const TScanResult result = Scan(typed);
        EXPECT_EQ(result.outcome, TScanOutcome::NotInList) << typed.toStdString();
        EXPECT_EQ(result.row, -1);
        EXPECT_EQ(ScanMessage(result, typed), QStringLiteral("Hledaný nosič nebyl v seznamu nalezen."));
    }
    EXPECT_TRUE(list.Locked());
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{{101, 'A'}, {123, 'A'}, {201, 'A'}, {202, 'A'}}));
}

TEST_F(StockList, AnEmptyListFindsNothingButStillLocks) {
    Load({false, false});
    const TScanResult result = Scan(QStringLiteral("101"));
    EXPECT_EQ(result.outcome, TScanOutcome::NotInList);
    EXPECT_TRUE(result.locked);
}

TEST_F(StockList, ACodeNoMediumCarriesLeavesTheChoicesOpen) {
    Load({true, true});
    // An apostrophe, a code longer than any label, a number no medium has, letters.
    for (const QString& typed : {QStringLiteral("859'0000101"), QString(32, u'7'), QStringLiteral("999"),
                                 QStringLiteral("abc"), QStringLiteral("'; delete from NOSICE; --")}) {
        const TScanResult result = Scan(typed);
        EXPECT_EQ(result.outcome, TScanOutcome::NotInRegister) << typed.toStdString();
        EXPECT_EQ(ScanMessage(result, typed),
                  QStringLiteral("Žádný nosič s CN kódem ") + typed + QStringLiteral(" nebyl nalezen."));
    }
    EXPECT_FALSE(list.Locked());
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from NOSICE")).toInt(), 8);
}

TEST_F(StockList, DeletingFoundMediaLeavesWhatIsMissingAndCountsEachType) {
    Load({true, true});
    // Found in an order that is not the list's.
    for (int key : {202, 101, 201, 123}) {
        const int row = list.RowOf(key);
        const TScanResult result = Scan(QString::number(key), true);
        EXPECT_EQ(result.outcome, TScanOutcome::Found);
        EXPECT_TRUE(result.removed);
        EXPECT_EQ(result.row, row);
        EXPECT_EQ(list.RowOf(key), -1);
    }
    EXPECT_EQ(list.FoundDvd(), 1);
    EXPECT_EQ(list.FoundVhs(), 3);
    EXPECT_EQ(Listed(list), (std::vector<TKeyState>{{102, 'P'}, {203, 'P'}}));
    // A second scan of a deleted medium finds it no more.
    EXPECT_EQ(Scan(QStringLiteral("202"), true).outcome, TScanOutcome::NotInList);

    Load({true, false});
    for (int key : {101, 123, 201, 202})
        Scan(QString::number(key), true);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(StockList, RowsStayInKeyOrderWhileFoundMediaAreDeletedInAnyOrder) {
    database.Exec(QStringLiteral(R"(
execute block as
  declare i integer = 1000;
begin
  while (i < 1300) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (:i, 1 + mod(:i, 2), '0201261000' || :i);
    i = i + 1;
  end
end)"));
    Load({true, false});
    std::vector<int> keys;
    for (int i = 0; i < list.Size(); ++i)
        keys.push_back(list.Row(i).kodNosic);
    ASSERT_EQ(keys.size(), 304u);
    std::vector<int> order = keys;
    std::shuffle(order.begin(), order.end(), std::mt19937(17));
    order.resize(200);
    for (int key : order) {
        const auto where = std::lower_bound(keys.begin(), keys.end(), key);
        const TScanResult result = Scan(QString::number(key), true);
        ASSERT_EQ(result.outcome, TScanOutcome::Found);
        EXPECT_EQ(result.row, where - keys.begin());
        keys.erase(where);
    }
    ASSERT_EQ(list.Size(), static_cast<int>(keys.size()));
    for (int i = 0; i < list.Size(); ++i) {
        EXPECT_EQ(list.Row(i).kodNosic, keys[static_cast<std::size_t>(i)]);
        EXPECT_EQ(list.RowOf(keys[static_cast<std::size_t>(i)]), i);
    }
    EXPECT_EQ(list.FoundDvd() + list.FoundVhs(), 200);
}

TEST_F(StockList, DroppingTheListKeepsTheFoundCountersUntilTheNextLoad) {
    Load({true, false});
    Scan(QStringLiteral("101"));
    Scan(QStringLiteral("201"));
    list.Close();
    EXPECT_FALSE(list.IsOpen());
    EXPECT_FALSE(list.Locked());
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.FoundDvd(), 1);
    EXPECT_EQ(list.FoundVhs(), 1);
    Load({true, false});
    EXPECT_EQ(list.FoundDvd(), 0);
    EXPECT_EQ(list.FoundVhs(), 0);
    EXPECT_EQ(list.Row(0).stav, u'A');
}

TEST_F(StockList, TheListIsASnapshotOfTheLoad) {
    Load({true, false});
    // Another counter lends a medium and takes a new one into stock meanwhile.
    Lend(201, 2);
    AddMedium(205, 2);
    EXPECT_EQ(Scan(QStringLiteral("201")).outcome, TScanOutcome::Found);
    EXPECT_EQ(Scan(QStringLiteral("205")).outcome, TScanOutcome::NotInList);
    EXPECT_EQ(list.InShopVhs(), 3);
}

} // namespace
