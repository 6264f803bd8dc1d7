#include "TitulHistorie.h"
#include "AppContext.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxGrid.h"
#include "TestDatabase.h"

#include <QImage>

namespace {

class History : public DatabaseTest {
protected:
    void Medium(int key, const QString& retired = QStringLiteral("null")) {
        database.Exec(
            QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, "
                           "D_ZRUSENI) values (%1, 7, '%2', 250, '2026-01-05 09:00:00', %3)")
                .arg(key)
                .arg(NewMediumCode(7, key))
                .arg(retired));
    }
    void Loan(int medium, const QString& day, double price, bool returned = true) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA, "
                           "D_VRACENI) values (7, %1, 1, '%2 10:00:00', %3, %4)")
                .arg(medium)
                .arg(day, FloatToSql(price),
                     returned ? QStringLiteral("'") + day + QStringLiteral(" 18:00:00'")
                              : QStringLiteral("null")));
    }
    TMemTable& Table(const char* grid) {
        return *qobject_cast<TMemTable*>(dialog.findChild<TMoxGrid*>(QString::fromLatin1(grid))->model());
    }

    TDialogHook hook;
    TAppContext context{database.ExecutablePath()};
    TFTitulHistorie dialog{context, nullptr};
};

TEST_F(History, AMediumLentThreeTimesShowsTheCountAndTheSum) {
    database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, EAN_KOD) values "
                                 "(1, 'Jan', 'Novák', '0512261234000001')"));
    Medium(1);
    Medium(2);
    Loan(1, QStringLiteral("2026-02-01"), 30);
    Loan(1, QStringLiteral("2026-03-01"), 30);
    Loan(1, QStringLiteral("2026-04-01"), 45, false);
    hook.Script([](QDialog& shown) { shown.reject(); });
    dialog.SetName(QStringLiteral("Pelíšky"));
    dialog.ShowHistory(7);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Historie titulu: Pelíšky"));
    TMemTable& media = Table("GridNosic");
    ASSERT_EQ(media.rowCount(), 1) << "a medium never lent is not listed";
    EXPECT_EQ(media.value(0, QStringLiteral("POCET_PUJCENI")).toInt(), 3);
    EXPECT_DOUBLE_EQ(media.value(0, QStringLiteral("CENA_PUJCENI")).toDouble(), 105);
    EXPECT_EQ(media.data(media.index(0, media.columnIndex(QStringLiteral("CENA_PUJCENI")))).toString(),
              QStringLiteral("105,00"));

    TMemTable& loans = Table("GridPujcky");
    ASSERT_EQ(loans.rowCount(), 3);
    EXPECT_TRUE(loans.value(0, QStringLiteral("D_VRACENI")).isNull()) << "newest first, still on loan";
    EXPECT_EQ(loans.value(0, QStringLiteral("ZAKAZNIK")).toString(), QStringLiteral("Jan Novák"));
    EXPECT_EQ(loans.value(2, QStringLiteral("D_PUJCENI")).toDateTime().date(), QDate(2026, 2, 1));
}

TEST_F(History, ARetiredMediumThatWasLentIsListedInRed) {
    database.Exec(
        QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI) values (1, 'Eva', 'Malá')"));
    Medium(1, QStringLiteral("'2026-05-01 12:00:00'"));
    Medium(2);
    Loan(1, QStringLiteral("2026-02-01"), 30);
    Loan(2, QStringLiteral("2026-02-02"), 30);
    dialog.Load(7);
    dialog.show();
    auto* grid = dialog.findChild<TMoxGrid*>(QStringLiteral("GridNosic"));
    grid->clearSelection();
    grid->setCurrentIndex({});
    const QImage shot = grid->viewport()->grab().toImage();
    TMemTable& media = Table("GridNosic");
    ASSERT_EQ(media.rowCount(), 2);

    const auto redPixels = [&](int row) {
        const QRect cell = grid->visualRect(media.index(row, 0));
        int red = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = shot.pixelColor(x * shot.width() / grid->viewport()->width(),
                                                 y * shot.height() / grid->viewport()->height());
                red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
            }
        return red;
    };
    const int retiredRow = media.value(0, QStringLiteral("D_ZRUSENI")).isNull() ? 1 : 0;
    EXPECT_GT(redPixels(retiredRow), 5);
    EXPECT_EQ(redPixels(1 - retiredRow), 0);
}

TEST_F(History, ATitleNeverLentShowsBothListsEmpty) {
    Medium(1);
    dialog.Load(7);
    EXPECT_EQ(Table("GridNosic").rowCount(), 0);
    EXPECT_EQ(Table("GridPujcky").rowCount(), 0);
}

} // namespace
