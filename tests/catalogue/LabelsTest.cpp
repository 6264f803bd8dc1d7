#include "BarcodeError.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "NosicStitek.h"
#include "NosicStitekDVD.h"
#include "NosicStitekVHS.h"
#include "PrintedPage.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using PrintedPage::DecodedBarcode;
using PrintedPage::PageSize;
using PrintedPage::RunTool;

class Labels : public ::testing::Test {
protected:
    void PrintToPdf(TNosicStitekForm& label, const QString& pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        label.PrintTo(printer);
    }

    QTemporaryDir dir;
    TDialogHook hook;
    const QString code = NewMediumCode(4321, 123, QDateTime(QDate(2026, 12, 9), QTime(10, 30)));
};

TEST_F(Labels, BothLabelsPrintTheTitleTheReadableCodeAndTheirPageSize) {
    struct Case {
        TNosicStitekForm* label;
        double heightMm;
    };
    TFNosicStitekVHS vhs;
    TFNosicStitekDVD dvd;
    for (const Case& c : {Case{&vhs, 49}, Case{&dvd, 33}}) {
        const QString pdf =
            dir.filePath(QString::fromLatin1(c.label->metaObject()->className()) + QStringLiteral(".pdf"));
        c.label->SetTitleText(QStringLiteral("Pelíšky\r(Cosy Dens)"));
        c.label->SetCode(code);
        PrintToPdf(*c.label, pdf);

        const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("Pelíšky"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("(Cosy Dens)"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("000123"))) << "the large medium number";
        const QSizeF page = PageSize(pdf);
        EXPECT_NEAR(page.width(), 140 / 25.4 * 72, 0.5);
        EXPECT_NEAR(page.height(), c.heightMm / 25.4 * 72, 0.5);
        EXPECT_EQ(DecodedBarcode(pdf), code);
    }
}

// Where pdftotext finds the words on the page, in millimetres from the page's corner.
struct TWordBox {
    QString word;
    QRectF box;
};
std::vector<TWordBox> WordBoxes(const QString& pdf) {
    const QString html =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<TWordBox> words;
    for (const auto& m : word.globalMatch(html)) {
        const auto mm = [&m](int i) { return m.captured(i).toDouble() * 25.4 / 72; };
        words.push_back({m.captured(5), QRectF(QPointF(mm(1), mm(2)), QPointF(mm(3), mm(4)))});
    }
    return words;
}

TEST_F(Labels, ALongTitleWrapsInsideItsBoxBesideTheLargeNumberOnTheDvdLabel) {
    TFNosicStitekDVD label;
    label.SetTitleText(
        QStringLiteral("Obecná škola aneb Jak jsme byli malí a svět byl velký\r(The Elementary School)"));
    label.SetCode(code);
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    PrintToPdf(label, pdf);

    // The band starts at the 10 mm margin; the title's box is 73.6 mm in and 45.5 mm wide.
    const QRectF titleBox(10 + 73.6, 10 + 0.5, 45.5, 11.9);
    std::set<int> lines;
    int titleWords = 0;
    for (const TWordBox& w : WordBoxes(pdf)) {
        if (w.word == code)
            continue; // the code under the bars
        if (w.word == QStringLiteral("000123")) {
            EXPECT_NEAR(w.box.left(), 10 + 41.3, 1.5) << "the large number";
            EXPECT_LT(w.box.right(), titleBox.left());
            continue;
        }
        ++titleWords;
        EXPECT_GE(w.box.left(), titleBox.left() - 0.2) << w.word.toStdString();
        EXPECT_LE(w.box.right(), titleBox.right() + 0.2) << w.word.toStdString();
        lines.insert(qRound(w.box.top() * 10));
    }
    EXPECT_GE(titleWords, 5);
    EXPECT_GE(lines.size(), 3u) << "the title wraps onto several lines";
}

TEST_F(Labels, TiskPrintsOnlyWhenThePrinterDialogIsConfirmed) {
    TFNosicStitekDVD label;
    label.SetTitleText(QStringLiteral("Kolja"));
    label.SetCode(code);
    const QString cancelled = dir.filePath(QStringLiteral("cancelled.pdf"));
    hook.Script([&](QDialog& dialog) {
        auto& printDialog = dynamic_cast<QPrintDialog&>(dialog);
        printDialog.printer()->setOutputFileName(cancelled);
        dialog.reject();
    });
    label.Print();
    EXPECT_FALSE(QFile::exists(cancelled));
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("QPrintDialog")});

    const QString confirmed = dir.filePath(QStringLiteral("confirmed.pdf"));
    hook.Script([&](QDialog& dialog) {
        QPrinter& printer = *dynamic_cast<QPrintDialog&>(dialog).printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(confirmed);
        dialog.QDialog::accept();
    });
    label.Print();
    EXPECT_EQ(DecodedBarcode(confirmed), code);
}

TEST_F(Labels, TheLargeNumberReadsZerosUntilACodeIsSetAndNothingForAnEmptyCode) {
    TFNosicStitekVHS label;
    label.SetTitleText(QStringLiteral("Kolja"));
    const QString unset = dir.filePath(QStringLiteral("unset.pdf"));
    PrintToPdf(label, unset);
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {unset, QStringLiteral("-")}).contains(u"000000"));
    EXPECT_TRUE(DecodedBarcode(unset).isEmpty()) << "no barcode before a code is set";

    label.SetCode(QString());
    const QString empty = dir.filePath(QStringLiteral("empty.pdf"));
    PrintToPdf(label, empty);
    const QString text = RunTool(QStringLiteral("pdftotext"), {empty, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(u"Kolja"));
    EXPECT_FALSE(text.contains(u"000000"));
}

TEST_F(Labels, TheOrientationChosenInThePrinterDialogIsKept) {
    TFNosicStitekDVD label;
    label.SetTitleText(QStringLiteral("Kolja"));
    label.SetCode(code);
    const QString pdf = dir.filePath(QStringLiteral("landscape.pdf"));
    hook.Script([&](QDialog& dialog) {
        QPrinter& printer = *dynamic_cast<QPrintDialog&>(dialog).printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        dialog.QDialog::accept();
    });
    label.Print();
    const QSizeF page = PageSize(pdf);
    EXPECT_NEAR(page.width(), 33 / 25.4 * 72, 0.5);
    EXPECT_NEAR(page.height(), 140 / 25.4 * 72, 0.5);
}

TEST_F(Labels, ACodeThatIsNotAllDigitsIsRefused) {
    TFNosicStitekVHS label;
    EXPECT_THROW(label.SetCode(QStringLiteral("12A4")), EBarcodeError);
    EXPECT_TRUE(label.Code().isEmpty());
    EXPECT_NO_THROW(label.SetCode(QString()));
}

} // namespace
