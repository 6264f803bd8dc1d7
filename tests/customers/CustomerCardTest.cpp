#include "CustomerCard.h"
#include "CustomerDeskFixture.h"
#include "PrintedPage.h"
#include "ZakPrukaz.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

// The printed card is read back by independent tools: poppler for its text and page, zbar for
// the barcode at the resolution of a good printer.
namespace {

using PrintedPage::RunTool;

const QString kCode = QStringLiteral("0103261415000045");
const QString kWeb = QStringLiteral("www.videopujcovna-kino.cz");

QString PrintToPdf(const QTemporaryDir& dir) {
    const QString pdf = dir.filePath(QStringLiteral("card.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintCustomerCard(printer, {kCode, kWeb, QStringLiteral("Videopůjčovna Kino")});
    return pdf;
}

TEST(CustomerCard, TheCardPageCarriesTheWebTheNumberAndAReadableBarcode) {
    QTemporaryDir dir;
    const QString pdf = PrintToPdf(dir);
    ASSERT_TRUE(QFile::exists(pdf));

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QStringLiteral("238 x 119 pts"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1"))) << info.toStdString();

    const QString text =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(kWeb)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("000045"))) << text.toStdString();
    EXPECT_TRUE(text.contains(kCode)) << text.toStdString();
    // The web address stands above the number.
    EXPECT_LT(text.indexOf(kWeb), text.indexOf(QStringLiteral("000045")));

    EXPECT_EQ(PrintedPage::DecodedBarcode(pdf), kCode);
}

TEST(CustomerCard, ACancelledPrinterChoicePrintsNothingAChosenOnePrints) {
    QTemporaryDir dir;
    TDialogHook hook;
    TFZakPrukaz card({kCode, kWeb, QStringLiteral("Videopůjčovna Kino")});
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Tisk průkazky"));
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    card.Printer().setOutputFormat(QPrinter::PdfFormat);
    card.Printer().setOutputFileName(pdf);
    card.show();

    hook.Script([](QDialog& choice) {
        EXPECT_NE(qobject_cast<QPrintDialog*>(&choice), nullptr);
        choice.reject();
    });
    card.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    EXPECT_FALSE(QFile::exists(pdf));

    hook.Script([](QDialog& choice) { choice.accept(); });
    card.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("000045")));
}

TEST(CustomerCard, APrinterThatRefusesThePageIsReported) {
    QTemporaryDir dir;
    TDialogHook hook;
    TFZakPrukaz card({kCode, kWeb, QStringLiteral("Videopůjčovna Kino")});
    card.Printer().setOutputFormat(QPrinter::PdfFormat);
    card.Printer().setOutputFileName(dir.filePath(QStringLiteral("missing/printed.pdf")));
    card.show();
    hook.Script([](QDialog& choice) { choice.accept(); });
    card.findChild<QPushButton*>(QStringLiteral("BTisk"))->click();
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_TRUE(hook.messages.front().text.contains(QStringLiteral("Průkazku nelze vytisknout.")))
        << hook.messages.front().text.toStdString();
    EXPECT_EQ(hook.messages.front().kind, TMsgKind::Error);
}

TEST_F(CustomerDesk, TheCardIsOfferedForCustomersNotEnded) {
    database.Exec(QStringLiteral("update POBOCKA set WEB = 'www.kino.cz'"));
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    QString shownWeb;
    hook.Script([&](QDialog& card) {
        shownWeb = static_cast<TFZakPrukaz&>(card).windowTitle();
        card.reject();
    });
    Click("BTiskPrukazky");
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFZakPrukaz")});
    EXPECT_EQ(shownWeb, QStringLiteral("Tisk průkazky"));
}

TEST_F(CustomerDesk, ACustomerEndedBySavingOnTheWayToTheCardGetsNoCard) {
    const int key = AddCustomer(QStringLiteral("Ota"), QStringLiteral("Konečný"));
    desk->OpenRecord(key);
    Click("BZmenit");
    Tick("ChVyradit");
    hook.Answer({TMsgResult::Yes, TMsgResult::Yes});
    Click("BTiskPrukazky");
    EXPECT_EQ(hook.Texts(), (std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?"),
                                                  QStringLiteral("Opravdu vyřadit zákazníka?")}));
    EXPECT_FALSE(Column(key, QStringLiteral("D_UKONCENI")).isNull());
    EXPECT_TRUE(hook.dialogsOpened.empty());
    EXPECT_FALSE(Button("BTiskPrukazky")->isEnabled());
}

} // namespace
