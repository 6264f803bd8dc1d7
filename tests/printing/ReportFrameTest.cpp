#include "ReportFrame.h"
#include "GlobDialog.h"
#include "Pobocka.h"
#include "PrintedPage.h"
#include "QStringPrinting.h"
#include "ReportPreview.h"
#include "TestDatabase.h"

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

// Reports are read back from real PDF files by poppler's tools, as a person reads the paper.
namespace {

const QDateTime kPrinted(QDate(2026, 3, 7), QTime(18, 5, 9));

TReportShop Shop(QImage logo = {}) {
    return {QStringLiteral("Videopůjčovna Kino"), QStringLiteral("Dlouhá 12, 110 00 Praha"),
            QStringLiteral("www.kino.cz"), std::move(logo)};
}

QString WritePdf(const TReportFrame& report, const QString& pdf) {
    QPdfWriter writer(pdf);
    writer.setResolution(300);
    report.Print(writer, kPrinted);
    return pdf;
}

QString Page(const QString& pdf, int page) {
    return PrintedPage::RunTool(QStringLiteral("pdftotext"),
                                {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                 QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

int Pages(const QString& pdf) {
    const QString info = PrintedPage::RunTool(QStringLiteral("pdfinfo"), {pdf});
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? 0 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

TReportTable Table(int rows) {
    TReportTable table;
    table.Columns = {{QStringLiteral("Číslo"), 20, Qt::AlignRight},
                     {QStringLiteral("Název"), 120, Qt::AlignLeft},
                     {QStringLiteral("Stav"), 20, Qt::AlignHCenter}};
    table.CaptionFont = TReportFrame::Font(8, false, true);
    table.RowFont = TReportFrame::Font(8);
    for (int i = 1; i <= rows; ++i)
        table.Rows.push_back({QString::number(i), QStringLiteral("Řádek %1").arg(i), QStringLiteral("A")});
    return table;
}

} // namespace

TEST(ReportFrame, OnePageCarriesTheShopHeaderTheTitleAndTheBody) {
    QTemporaryDir dir;
    TReportFrame report(QStringLiteral("Přehled pokladny"), Shop());
    report.SetHeaderRight({QStringLiteral("březen 2026")});
    report.AddBand({8, [](TReportCanvas& canvas) {
                        canvas.Text(QRectF(0, 0, 60, 8), QStringLiteral("Tržba:"), TReportFrame::Font(10));
                        canvas.Text(QRectF(60, 0, 40, 8), QStringLiteral("1 234,50 Kč"),
                                    TReportFrame::Font(10), Qt::AlignRight | Qt::AlignVCenter);
                    }});
    EXPECT_EQ(report.PageCount(), 1);
    const QString pdf = WritePdf(report, dir.filePath(QStringLiteral("one.pdf")));

    const QSizeF a4 = PrintedPage::PageSize(pdf);
    EXPECT_NEAR(a4.width(), 595, 1);
    EXPECT_NEAR(a4.height(), 842, 1);
    EXPECT_EQ(Pages(pdf), 1);
    const QString text = Page(pdf, 1);
    for (const QString& expected :
         {QStringLiteral("Přehled pokladny"), QStringLiteral("Prodejna:"),
          QStringLiteral("Videopůjčovna Kino"), QStringLiteral("Dlouhá 12, 110 00 Praha"),
          QStringLiteral("www.kino.cz"), QStringLiteral("Strana:"), QStringLiteral("Datum tisku:"),
          QStringLiteral("07.03.2026 18:05:09"), QStringLiteral("březen 2026"), QStringLiteral("Tržba:"),
          QStringLiteral("1 234,50 Kč")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(QString(text).remove(u' ').contains(QStringLiteral("Strana:1/1")));
    // Header first, body under it.
    EXPECT_LT(text.indexOf(QStringLiteral("www.kino.cz")), text.indexOf(QStringLiteral("Tržba:")));
}

TEST(ReportFrame, ALongTableRunsOverPagesWithItsCaptionsAndNumbersOnEach) {
    QTemporaryDir dir;
    TReportFrame report(QStringLiteral("Inventura nosičů"), Shop());
    report.SetHeaderNotes({QStringLiteral("Stav: A nosič je v půjčovně (chybí)")});
    report.AddTable(Table(150));
    const int pages = report.PageCount();
    ASSERT_GT(pages, 2);
    const QString pdf = WritePdf(report, dir.filePath(QStringLiteral("long.pdf")));
    ASSERT_EQ(Pages(pdf), pages);

    int lastRow = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = Page(pdf, page);
        // The layout mode of pdftotext closes up the blanks of "n / N".
        EXPECT_TRUE(QString(text).remove(u' ').contains(QStringLiteral("Strana:%1/%2").arg(page).arg(pages)))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Inventura nosičů")));
        EXPECT_TRUE(text.contains(QStringLiteral("Stav: A nosič je v půjčovně (chybí)")));
        EXPECT_LT(text.indexOf(QStringLiteral("Název")), text.indexOf(QStringLiteral("Řádek")));
        // Every row once, in order, continuing where the previous page stopped.
        for (int row = lastRow + 1; text.contains(QStringLiteral("Řádek %1\n").arg(row)) ||
                                    text.contains(QStringLiteral("Řádek %1 ").arg(row));
             ++row)
            lastRow = row;
    }
    EXPECT_EQ(lastRow, 150);
}

TEST(ReportFrame, APrinterGetsOnlyThePagesChosenInThePrintDialog) {
    QTemporaryDir dir;
    TReportFrame report(QStringLiteral("Inventura nosičů"), Shop());
    report.AddTable(Table(150));
    const int pages = report.PageCount();
    ASSERT_GT(pages, 2);
    const QString pdf = dir.filePath(QStringLiteral("range.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    report.Print(printer, kPrinted);
    ASSERT_EQ(Pages(pdf), 2);
    for (int page : {1, 2})
        EXPECT_TRUE(QString(Page(pdf, page))
                        .remove(u' ')
                        .contains(QStringLiteral("Strana:%1/%2").arg(page + 1).arg(pages)));
}

TEST(ReportFrame, AnEmptyBodyStillPrintsOnePage) {
    QTemporaryDir dir;
    TReportFrame report(QStringLiteral("Souhrn dokladů"), Shop());
    report.AddTable(Table(0));
    EXPECT_EQ(report.PageCount(), 1);
    const QString pdf = WritePdf(report, dir.filePath(QStringLiteral("empty.pdf")));
    EXPECT_EQ(Pages(pdf), 1);
    EXPECT_TRUE(Page(pdf, 1).contains(QStringLiteral("Název")));
}

TEST(ReportFrame, TheLogoFillsItsBoxAtTheLeftAsFarAsItsProportionsAllowWhateverItsPixels) {
    QTemporaryDir dir;
    // Millimetres on the page: a wide logo takes the box's width, the shop's usual 300 x 80 and a
    // small one its height; none goes beyond the box.
    const std::vector<std::pair<QSize, QSizeF>> cases = {{QSize(2000, 200), QSizeF(40.5, 4.05)},
                                                         {QSize(300, 80), QSizeF(39.75, 10.6)},
                                                         {QSize(60, 30), QSizeF(21.2, 10.6)}};
    for (const auto& [size, mm] : cases) {
        QImage logo(size, QImage::Format_RGB32);
        logo.fill(Qt::red);
        TReportFrame report(QStringLiteral("Přehled pokladny"), Shop(logo));
        const QString pdf = WritePdf(report, dir.filePath(QStringLiteral("logo.pdf")));
        PrintedPage::RunTool(QStringLiteral("pdftoppm"),
                             {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                              QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("logo"))});
        const QImage page(dir.filePath(QStringLiteral("logo.png")));
        ASSERT_FALSE(page.isNull());
        QRect red;
        for (int y = 0; y < page.height() / 4; ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                    red = red.united(QRect(x, y, 1, 1));
            }
        ASSERT_FALSE(red.isNull());
        const double dotsPerMm = 300 / 25.4;
        const QRectF box(10 * dotsPerMm, 10 * dotsPerMm, TReportFrame::kLogoWidthMm * dotsPerMm,
                         TReportFrame::kLogoHeightMm * dotsPerMm);
        EXPECT_NEAR(red.left(), box.left(), 3) << size.width();
        EXPECT_LE(red.bottom(), box.bottom() + 2) << size.width();
        EXPECT_GE(red.top(), box.top() - 2) << size.width();
        EXPECT_NEAR(red.width(), mm.width() * dotsPerMm, 4) << size.width();
        EXPECT_NEAR(red.height(), mm.height() * dotsPerMm, 4) << size.width();
    }
}

TEST(ReportFrame, TheShopComesFromTheBranchRecord) {
    TTestDatabase database;
    database.Exec(QStringLiteral("update POBOCKA set JMENO = 'Kino Dlouhá', ADR_ULICE = 'Dlouhá 12', "
                                 "ADR_PSC = '11000', ADR_OBEC = 'Praha', WEB = 'www.kino.cz'"));
    TPobocka pobocka(database.Db());
    const TReportShop shop = ReportShop(pobocka);
    EXPECT_EQ(shop.Jmeno, QStringLiteral("Kino Dlouhá"));
    EXPECT_EQ(shop.Adresa, QStringLiteral("Dlouhá 12, 11000 Praha"));
    EXPECT_EQ(shop.Web, QStringLiteral("www.kino.cz"));

    database.Exec(QStringLiteral("update POBOCKA set ADR_ULICE = null, ADR_PSC = null, ADR_OBEC = null"));
    TPobocka withoutAddress(database.Db());
    EXPECT_EQ(ReportShop(withoutAddress).Adresa, QString());
}

TEST(ReportPreview, TheChosenPrinterGetsEveryPageARefusingOneIsReported) {
    QTemporaryDir dir;
    TDialogHook hook;
    TReportFrame report(QStringLiteral("Inventura nosičů"), Shop());
    report.AddTable(Table(150));
    TFReportPreview preview(report);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Inventura nosičů"));
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    preview.Printer().setOutputFormat(QPrinter::PdfFormat);
    preview.Printer().setOutputFileName(pdf);
    preview.show();

    hook.Script([](QDialog& choice) {
        EXPECT_NE(qobject_cast<QPrintDialog*>(&choice), nullptr);
        choice.reject();
    });
    preview.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    EXPECT_FALSE(QFile::exists(pdf));

    hook.Script([](QDialog& choice) { choice.accept(); });
    preview.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(Pages(pdf), report.PageCount());
    EXPECT_TRUE(Page(pdf, report.PageCount()).contains(QStringLiteral("Řádek 150")));
    EXPECT_TRUE(hook.messages.empty());

    preview.Printer().setOutputFileName(dir.filePath(QStringLiteral("missing/printed.pdf")));
    hook.Script([](QDialog& choice) { choice.accept(); });
    preview.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages.front().text.contains(QStringLiteral("nelze vytisknout")))
        << hook.messages.front().text.toStdString();
}

TEST(ReportPreview, ShownModallyUntilClosed) {
    TDialogHook hook;
    TReportFrame report(QStringLiteral("Přehled pokladny"), Shop());
    hook.Script([](QDialog& dialog) {
        EXPECT_NE(qobject_cast<TFReportPreview*>(&dialog), nullptr);
        dialog.findChild<QPushButton*>(QStringLiteral("BZavrit"))->click();
    });
    ShowReportPreview(report, nullptr);
    EXPECT_TRUE(hook.dialogScripts.empty());
}
