#include "AppContext.h"
#include "GlobDialog.h"
#include "Inventura.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "PrintedPage.h"
#include "QInventura.h"
#include "ReportPreview.h"
#include "StockFixture.h"
#include "StockList.h"

#include <QImage>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The stocktaking report is read back from a real PDF by poppler's tools.
namespace {

const QDateTime kPrinted(QDate(2026, 3, 7), QTime(18, 5, 9));

int Pages(const QString& pdf) {
    const QString info = PrintedPage::RunTool(QStringLiteral("pdfinfo"), {pdf});
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? 0 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

QString Page(const QString& pdf, int page) {
    return PrintedPage::RunTool(QStringLiteral("pdftotext"),
                                {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                 QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

// The page's lines with their blanks squeezed, for comparing whole rows.
QStringList Lines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(u'\n'))
        if (const QString simple = line.simplified(); !simple.isEmpty())
            lines << simple;
    return lines;
}

// A shop of 130 media on three titles, with the branch record filled in.
class StockReport : public StockShop {
protected:
    StockReport() {
        database.Exec(
            QStringLiteral("update POBOCKA set JMENO = 'Videopůjčovna Kino', ADR_ULICE = 'Dlouhá 12', "
                           "ADR_PSC = '11000', ADR_OBEC = 'Praha', WEB = 'www.kino.cz'"));
        AddTitle(3, QStringLiteral("Ať žijí duchové! a velmi dlouhý název, který se do sloupce nevejde celý"),
                 u'D');
        database.Exec(QStringLiteral(R"(
execute block as
  declare i integer = 1000;
begin
  while (i < 1124) do begin
    insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (:i, 3, '0201261000' || :i);
    i = i + 1;
  end
end)"));
    }

    QString Print(const TStockList& list, const QString& name) {
        const QString pdf = dir.filePath(name);
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        TQRInventura(list, ReportShop(context.Pobocka())).Report().Print(writer, kPrinted);
        return pdf;
    }

    QTemporaryDir dir;
    TAppContext context{database.ExecutablePath()};
};

TEST_F(StockReport, ThreePagesNumberedWithTheShopTheLegendAndEveryRow) {
    TStockList list;
    RunInTransaction(db.DB, [&](TTransaction& tr) {
        list.Load(db, tr, {true, true});
        list.Scan(db, tr, QStringLiteral("101"), false);
    });
    ASSERT_EQ(list.Size(), 130);
    const QString pdf = Print(list, QStringLiteral("inventura.pdf"));
    ASSERT_EQ(Pages(pdf), 3);

    const QStringList first = Lines(Page(pdf, 1));
    const QString header = first.join(u'\n');
    for (const QString& text :
         {QStringLiteral("Inventura nosičů"), QStringLiteral("Prodejna:"),
          QStringLiteral("Videopůjčovna Kino"), QStringLiteral("Dlouhá 12, 11000 Praha"),
          QStringLiteral("www.kino.cz"), QStringLiteral("Stav:"),
          QStringLiteral("A - nosič je v půjčovně (chybí)"), QStringLiteral("N - nosič byl načten"),
          QStringLiteral("P - nosič je půjčen"), QStringLiteral("07.03.2026 18:05:09")})
        EXPECT_TRUE(header.contains(text)) << text.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Typ nosiče Název Originální název CN kód Stav")))
        << header.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("1 DVD Pelíšky Pelíšky (orig.) ") + Code(101, 1) +
                               QStringLiteral(" N")))
        << header.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("2 DVD Pelíšky Pelíšky (orig.) ") + Code(102, 1) +
                               QStringLiteral(" P")));
    EXPECT_TRUE(first.contains(QStringLiteral("3 VHS Samotáři Samotáři (orig.) ") + Code(123, 2) +
                               QStringLiteral(" A")));

    // pdftotext closes up the blanks around the slash.
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(Page(pdf, page).remove(u' ').contains(QStringLiteral("Strana:%1/3").arg(page))) << page;
    const QStringList last = Lines(Page(pdf, 3));
    EXPECT_TRUE(last.contains(QStringLiteral("Typ nosiče Název Originální název CN kód Stav")))
        << "the column captions stand on every page";
    const auto lastRow = std::find_if(last.begin(), last.end(), [](const QString& line) {
        return line.startsWith(QStringLiteral("130 "));
    });
    ASSERT_NE(lastRow, last.end());
    EXPECT_TRUE(lastRow->endsWith(QStringLiteral("02012610001123 A"))) << lastRow->toStdString();
    // A long name ends inside its column.
    EXPECT_TRUE(lastRow->contains(QStringLiteral("Ať žijí duchové!"))) << lastRow->toStdString();
    EXPECT_TRUE(lastRow->contains(QStringLiteral("…"))) << lastRow->toStdString();
}

TEST_F(StockReport, EveryThirdRowFromTheSecondIsGrey) {
    TStockList list;
    RunInTransaction(db.DB, [&](TTransaction& tr) { list.Load(db, tr, {true, false}); });
    const QString pdf = Print(list, QStringLiteral("grey.pdf"));
    PrintedPage::RunTool(QStringLiteral("pdftoppm"),
                         {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                          QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                          dir.filePath(QStringLiteral("grey"))});
    const QImage page(dir.filePath(QStringLiteral("grey.png")));
    ASSERT_FALSE(page.isNull());
    // Down the right edge of the state column, where no letter is drawn, from the first row on:
    // the grey bands.
    const int x = static_cast<int>((210 - 10 - 1) / 25.4 * 100);
    const double header = TQRInventura(list, ReportShop(context.Pobocka())).Report().HeaderHeightMm();
    const int top = static_cast<int>((10 + header + 5.5) / 25.4 * 100);
    const QColor grey(240, 240, 240);
    std::vector<int> bands;
    bool inBand = false;
    for (int y = top; y < page.height(); ++y) {
        const bool isGrey = page.pixelColor(x, y) == grey;
        if (isGrey && !inBand)
            bands.push_back(y);
        inBand = isGrey;
    }
    // Page 1 holds the rows 1 to 50: grey are 2, 5, ..., 50.
    ASSERT_EQ(bands.size(), 17u);
    const double row = (bands.back() - bands.front()) / 16.0;
    EXPECT_NEAR(row, 3 * 4.5 / 25.4 * 100, 1.5);
}

TEST_F(StockReport, TheDeskShowsTheListInItsPreview) {
    TDialogHook hook;
    TFInventura desk(context);
    desk.show();
    desk.ShowDesk();
    desk.findChild<TMoxButton*>(QStringLiteral("BNacist"))->click();
    for (const char* typed : {"101", "201"}) {
        auto* field = desk.findChild<TMoxEdit*>(QStringLiteral("EHledejEAN"));
        field->setText(QString::fromLatin1(typed));
        desk.findChild<TMoxButton*>(QStringLiteral("BHledej"))->click();
    }
    QString pdf;
    hook.Script([&](QDialog& dialog) {
        auto* preview = qobject_cast<TFReportPreview*>(&dialog);
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->windowTitle(), QStringLiteral("Inventura nosičů"));
        EXPECT_EQ(preview->Report().PageCount(), 3);
        pdf = dir.filePath(QStringLiteral("preview.pdf"));
        QPdfWriter writer(pdf);
        preview->Report().Print(writer, kPrinted);
        dialog.findChild<QPushButton*>(QStringLiteral("BZavrit"))->click();
    });
    desk.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();
    EXPECT_TRUE(hook.dialogScripts.empty());
    EXPECT_TRUE(hook.Texts().empty());
    ASSERT_EQ(Pages(pdf), 3);
    const QStringList first = Lines(Page(pdf, 1));
    EXPECT_TRUE(first.contains(QStringLiteral("1 DVD Pelíšky Pelíšky (orig.) ") + Code(101, 1) +
                               QStringLiteral(" N")));
    EXPECT_TRUE(first.contains(QStringLiteral("2 VHS Samotáři Samotáři (orig.) ") + Code(123, 2) +
                               QStringLiteral(" A")));
    EXPECT_TRUE(first.contains(QStringLiteral("3 VHS Samotáři Samotáři (orig.) ") + Code(201, 2) +
                               QStringLiteral(" N")));
    desk.LeaveDesk();
}

} // namespace
