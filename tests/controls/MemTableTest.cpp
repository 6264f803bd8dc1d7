#include "MemTable.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

TMemTable cart() {
    return TMemTable({QStringLiteral("KOD_NOSIC"), QStringLiteral("NAZEV"), QStringLiteral("CENA")});
}

QStringList names(const TMemTable& table) {
    QStringList result;
    for (int row = 0; row < table.rowCount(); ++row)
        result << table.value(row, QStringLiteral("NAZEV")).toString();
    return result;
}

} // namespace

TEST(MoxMemTable, FieldsByNameInColumnOrder) {
    TMemTable table = cart();
    table.appendRecord({7, QStringLiteral("Amélie"), 35.5, QStringLiteral("surplus")});
    table.appendRecord({8});
    EXPECT_EQ(table.record(0), (QVariantList{7, QStringLiteral("Amélie"), 35.5}));
    EXPECT_TRUE(table.value(1, QStringLiteral("nazev")).isNull());
    table.setValue(1, QStringLiteral("NAZEV"), QStringLiteral("Kolja"));
    EXPECT_EQ(table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("Kolja"));
    EXPECT_THROW(table.value(0, QStringLiteral("CENA_DPH")), std::out_of_range);
    EXPECT_THROW(table.value(2, QStringLiteral("CENA")), std::out_of_range);
    table.setColumnTitle(QStringLiteral("NAZEV"), QStringLiteral("Název"));
    EXPECT_EQ(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Název"));
    EXPECT_EQ(table.headerData(1, Qt::Horizontal, TMemTable::FieldNameRole).toString(),
              QStringLiteral("NAZEV"));
}

TEST(MoxMemTable, FilledFromQueryRowsAtOnce) {
    TMemTable table;
    QSignalSpy resets(&table, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&table, &TMemTable::changed);
    table.setColumns({QStringLiteral("NAZEV"), QStringLiteral("CENA")});
    QList<QVariantList> rows;
    for (int i = 0; i < 1000; ++i)
        rows.append({QStringLiteral("Titul %1").arg(i), i});
    table.setRows(rows);
    EXPECT_EQ(table.rowCount(), 1000);
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(changes.count(), 2);
    table.clear();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.currentRow(), -1);
    EXPECT_TRUE(table.field(QStringLiteral("NAZEV")).isNull());
    EXPECT_THROW(table.setField(QStringLiteral("NAZEV"), 1), std::out_of_range);
}

TEST(MoxMemTable, CurrentRowFollowsProgramChanges) {
    TMemTable table = cart();
    QSignalSpy moves(&table, &TMemTable::currentRowChanged);
    for (const char* name : {"A", "B", "C", "D"})
        table.appendRecord({0, QString::fromLatin1(name)});
    EXPECT_EQ(table.currentRow(), 3);
    table.insertRecord(1, {0, QStringLiteral("X")});
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_EQ(names(table), (QStringList{u"A"_s, u"X"_s, u"B"_s, u"C"_s, u"D"_s}));
    table.deleteRecord(1); // the next record becomes current
    EXPECT_EQ(table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("B"));
    table.setCurrentRow(3);
    table.deleteRecord(3); // the last one: the one before it becomes current
    EXPECT_EQ(table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("C"));
    table.deleteRecord(0);
    EXPECT_EQ(table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("C"));
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_GT(moves.count(), 0);
    EXPECT_THROW(table.insertRecord(5), std::out_of_range);
}

TEST(MoxMemTable, ClerksInsertAndDeleteNeedConsent) {
    TMemTable table = cart();
    table.appendRecord({1, QStringLiteral("A")});
    EXPECT_FALSE(table.insertRows(0, 1));
    EXPECT_FALSE(table.removeRows(0, 1));
    EXPECT_EQ(table.rowCount(), 1);

    table.setUserDeleteAllowed(true);
    EXPECT_TRUE(table.removeRows(0, 1));
    EXPECT_TRUE(table.isEmpty());
}

TEST(MoxMemTable, ClerksNewRowIsKeptOnlyWhenFilled) {
    TMemTable table = cart();
    table.appendRecord({1, QStringLiteral("A")});
    table.setUserInsertAllowed(true);

    ASSERT_TRUE(table.insertRows(0, 1));
    EXPECT_EQ(table.currentRow(), 0);
    table.submit();
    EXPECT_EQ(names(table), QStringList{u"A"_s});

    ASSERT_TRUE(table.insertRows(1, 1));
    table.setData(table.index(1, 1), QStringLiteral("B"));
    table.submit();
    table.revert(); // already kept
    EXPECT_EQ(names(table), (QStringList{u"A"_s, u"B"_s}));

    ASSERT_TRUE(table.insertRows(1, 1));
    table.setData(table.index(1, 1), QStringLiteral("half"));
    table.revert();
    EXPECT_EQ(names(table), (QStringList{u"A"_s, u"B"_s}));

    ASSERT_TRUE(table.insertRows(2, 1));
    ASSERT_TRUE(table.insertRows(0, 1)); // the untouched one gives way
    EXPECT_EQ(table.rowCount(), 3);
    table.insertRecord(0, {9, QStringLiteral("P")}); // the program's rows shift the pending one
    table.submit();
    EXPECT_EQ(names(table), (QStringList{u"P"_s, u"A"_s, u"B"_s}));
}

TEST(MoxMemTable, AnEditorWritingBackWhatItShowedTouchesNoRow) {
    TMemTable table = cart();
    table.appendRecord({1, QStringLiteral("A"), 30.0});
    table.setUserInsertAllowed(true);
    QSignalSpy changes(&table, &TMemTable::changed);

    ASSERT_TRUE(table.insertRows(1, 1));
    table.setData(table.index(1, 1), QString()); // the clerk passed through the empty cell
    table.setData(table.index(1, 0), QVariant());
    table.submit();
    EXPECT_EQ(table.rowCount(), 1) << "an untouched new row leaves no blank record";

    changes.clear();
    table.setData(table.index(0, 2), 30.0);
    EXPECT_EQ(changes.count(), 0);
    table.setData(table.index(0, 2), 35.0);
    EXPECT_EQ(table.value(0, QStringLiteral("CENA")).toDouble(), 35.0);
}

TEST(MoxMemTable, MoneyColumnsShowLocaleDecimals) {
    TMemTable table = cart();
    table.setColumnDecimals(QStringLiteral("CENA"), 2);
    table.setColumnReadOnly(QStringLiteral("KOD_NOSIC"), true);
    table.appendRecord({1, QStringLiteral("A"), 1234.5});
    const QModelIndex price = table.index(0, 2);
    EXPECT_EQ(price.data().toString(),
              QStringLiteral("1") + QLocale().groupSeparator() + QStringLiteral("234,50"));
    EXPECT_EQ(price.data(Qt::EditRole).toDouble(), 1234.5);
    EXPECT_TRUE(price.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_FALSE(table.flags(table.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(table.flags(table.index(0, 1)) & Qt::ItemIsEditable);
    table.setValue(0, QStringLiteral("KOD_NOSIC"), 2); // read-only to the clerk, not to the program
    EXPECT_EQ(table.value(0, QStringLiteral("KOD_NOSIC")).toInt(), 2);
}

TEST(MoxMemTable, KeysAreNotGroupedAndDatesCanBeRightAligned) {
    TMemTable table = cart();
    table.setColumnDecimals(QStringLiteral("KOD_NOSIC"), 0);
    table.setColumnAlignment(QStringLiteral("NAZEV"), Qt::AlignRight);
    table.appendRecord({123456, QStringLiteral("A"), 1.0});
    EXPECT_EQ(table.index(0, 0).data().toString(), QStringLiteral("123456"));
    EXPECT_TRUE(table.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_TRUE(table.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_FALSE(table.index(0, 2).data(Qt::TextAlignmentRole).isValid());
}
