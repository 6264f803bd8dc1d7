#include "DocumentsFixture.h"
#include "PrintedPage.h"
#include "QSouDok.h"
#include "ReportPreview.h"

#include <QPdfWriter>
#include <QTemporaryDir>

namespace {

// March 2025 with receipts on its first and last day, a day whose only receipt is cancelled,
// VAT classes A, B and 0 and a refund line, and receipts of February and April around it.
class MonthlySummary : public DocumentsShop {
protected:
    MonthlySummary() {
        AddTitle(11, QStringLiteral("Pelíšky"), 3);
        AddMedium(101, 11);
        const auto at = [](int month, int day, int hour) {
            return QDateTime(QDate(2025, month, day), QTime(hour, 0));
        };
        AddReceipt(1, at(2, 28, 20));
        AddLine(1, 101, 11, at(2, 28, 20), QStringLiteral("A"), 400, 330.58, 2);
        first = AddReceipt(2, at(3, 1, 9));
        AddLine(2, 101, 11, at(3, 1, 9), QStringLiteral("A"), 40, 33.06, 2);
        AddLine(2, 101, 11, at(3, 1, 9), QStringLiteral("B"), 30, 26.09, 1);
        second = AddReceipt(3, at(3, 1, 18));
        AddLine(3, 101, 11, at(3, 1, 18), QStringLiteral("0"), 50, 50, 1);
        cancelled = AddReceipt(4, at(3, 15, 10));
        AddLine(4, 101, 11, at(3, 15, 10), QStringLiteral("A"), 40, 33.06, 1);
        database.Exec(
            QStringLiteral("update DOKLADY set D_STORNO = '2025-03-15 11:00:00', UZIV_STORNO = 1 where "
                           "KOD_DOK = 4"));
        last = AddReceipt(5, at(3, 31, 21));
        AddLine(5, 101, 11, at(3, 31, 21), QStringLiteral("A"), 35, 28.93, 3);
        AddLine(5, 101, 11, at(3, 31, 21), QStringLiteral("A"), -40, -33.06, 1);
        AddReceipt(6, at(4, 1, 8));
        AddLine(6, 101, 11, at(4, 1, 8), QStringLiteral("A"), 500, 413.22, 1);
    }

    QString Printed() {
        const QString pdf = dir.filePath(QStringLiteral("souhrn.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setResolution(300);
            TQRSouDok(context, TMonth{2025, 3}).Report().Print(writer);
        }
        return PrintedPage::Text(pdf, true);
    }
    static QString Squeezed(QString text) { return text.replace(QChar(0x00A0), u' ').simplified(); }

    QTemporaryDir dir;
    int first = 0;
    int second = 0;
    int cancelled = 0;
    int last = 0;
};

TEST_F(MonthlySummary, TheFiguresOfTheMonthLeaveTheNeighbouringMonthsAndTheCancelledReceiptOut) {
    TTransaction tr(database.Db().DB);
    const TDocumentSummary summary = DocumentSummary(database.Db(), tr, TMonth{2025, 3});
    tr.Commit();
    ASSERT_EQ(summary.days.size(), 3U);
    EXPECT_EQ(summary.days[0].day, QDate(2025, 3, 1));
    EXPECT_EQ(summary.days[0].cisloOd, first);
    EXPECT_EQ(summary.days[0].cisloDo, second);
    EXPECT_DOUBLE_EQ(summary.days[0].castka, 160);
    EXPECT_EQ(summary.days[1].cisloOd, cancelled);
    EXPECT_DOUBLE_EQ(summary.days[1].castka, 0);
    EXPECT_EQ(summary.days[2].day, QDate(2025, 3, 31));
    EXPECT_DOUBLE_EQ(summary.days[2].castka, 65);
    // By hand: A 66,12 + 86,79 - 33,06; B 26,09; 0 50; with VAT 110 + 50 + 65.
    EXPECT_NEAR(summary.totals.cenaDph, 225, 0.001);
    EXPECT_NEAR(summary.totals.zakladA, 119.85, 0.001);
    EXPECT_NEAR(summary.totals.zakladB, 26.09, 0.001);
    EXPECT_NEAR(summary.totals.zaklad0, 50, 0.001);
    EXPECT_NEAR(summary.totals.dphA, 25.15, 0.001);
    EXPECT_NEAR(summary.totals.dphB, 3.91, 0.001);
    EXPECT_NEAR(summary.totals.cena, 195.94, 0.001);
}

TEST_F(MonthlySummary, AVatPayerSeesTheDaysTheTotalAndTheBreakdownOnPaper) {
    database.Exec(QStringLiteral("update SPEC_CENA set PLATCE_DPH = 'A', DPH_A = 21, DPH_B = 10.5"));
    const QString text = Printed();
    const QString flat = Squeezed(text);
    EXPECT_TRUE(flat.contains(QStringLiteral("Souhrn dokladů"))) << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("březen 2025"))) << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("Strana: 1 "))) << text.toStdString();
    EXPECT_FALSE(flat.contains(QStringLiteral("Strana: 1 /"))) << "the page number alone";
    EXPECT_TRUE(flat.contains(QStringLiteral("Datum Čísla dokladů (od – do) Částka"))) << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("01.03.2025 %1 – %2 160,00").arg(first).arg(second)))
        << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("15.03.2025 %1 – %1 0,00").arg(cancelled)))
        << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("31.03.2025 %1 – %1 65,00").arg(last))) << text.toStdString();
    EXPECT_FALSE(flat.contains(QStringLiteral("28.02.2025"))) << text.toStdString();
    EXPECT_FALSE(flat.contains(QStringLiteral("01.04.2025"))) << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("Celková cena s DPH: 225,00 Kč"))) << text.toStdString();
    for (const QString& line :
         {QStringLiteral("Základ 21%: 119,85 Kč"), QStringLiteral("Základ 10,5%: 26,09 Kč"),
          QStringLiteral("Základ 0%: 50,00 Kč"), QStringLiteral("DPH 21%: 25,15 Kč"),
          QStringLiteral("DPH 10,5%: 3,91 Kč"), QStringLiteral("Celkem bez DPH: 195,94 Kč")})
        EXPECT_TRUE(flat.contains(line)) << line.toStdString() << "\n" << text.toStdString();
}

TEST_F(MonthlySummary, ANonPayerSeesTheTotalWithoutTheBreakdown) {
    database.Exec(QStringLiteral("update SPEC_CENA set PLATCE_DPH = 'N'"));
    const QString flat = Squeezed(Printed());
    EXPECT_TRUE(flat.contains(QStringLiteral("Celková cena: 225,00 Kč"))) << flat.toStdString();
    EXPECT_FALSE(flat.contains(QStringLiteral("s DPH")));
    EXPECT_FALSE(flat.contains(QStringLiteral("Základ")));
}

TEST_F(MonthlySummary, AMonthWithoutReceiptsPrintsTheHeaderAndAZeroTotal) {
    TTransaction tr(database.Db().DB);
    EXPECT_TRUE(DocumentSummary(database.Db(), tr, TMonth{2024, 12}).days.empty());
    tr.Commit();
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    {
        QPdfWriter writer(pdf);
        TQRSouDok(context, TMonth{2024, 12}).Report().Print(writer);
    }
    const QString flat = Squeezed(PrintedPage::Text(pdf, true));
    EXPECT_TRUE(flat.contains(QStringLiteral("prosinec 2024"))) << flat.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("Datum Čísla dokladů (od – do) Částka"))) << flat.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("Celková cena s DPH: 0,00 Kč"))) << flat.toStdString();
}

TEST(SummaryTexts, TheMonthStandsInTheNominativeAndRatesAreShortest) {
    EXPECT_EQ(SummaryPeriodText(TMonth{2005, 3}), QStringLiteral("březen 2005"));
    EXPECT_EQ(SummaryPeriodText(TMonth{2005, 7}), QStringLiteral("červenec 2005"));
    EXPECT_EQ(VatRateText(21), QStringLiteral("21"));
    EXPECT_EQ(VatRateText(10.5), QStringLiteral("10,5"));
}

} // namespace
