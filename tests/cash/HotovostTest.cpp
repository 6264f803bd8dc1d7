#include "Hotovost.h"
#include "CashDeskFixture.h"
#include "MoxButton.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "ReceiptPrinter.h"

namespace {

// Records what the dialog asked to print, as the receipt printer will receive it.
class TRecordingPrinter final : public TReceiptPrinter {
public:
    void PrintDocument(int kodDok, int copies, TTransaction&) override {
        printed << QStringLiteral("document %1 x%2").arg(kodDok).arg(copies);
    }
    void PrintDepositTaken(int kodZak, int copies, double amount, TTransaction&) override {
        printed << QStringLiteral("taken %1 x%2 %3").arg(kodZak).arg(copies).arg(amount);
    }
    void PrintDepositReturned(int kodZak, int copies, double amount, TTransaction&) override {
        printed << QStringLiteral("returned %1 x%2 %3").arg(kodZak).arg(copies).arg(amount);
    }
    QStringList printed;
};

class PaymentDialog : public CashFixture {
protected:
    TMoxLabel* Label(const char* name) { return dialog.findChild<TMoxLabel*>(QString::fromLatin1(name)); }
    TMoxNumEdit* Zaplaceno() { return dialog.findChild<TMoxNumEdit*>(QStringLiteral("EZaplaceno")); }
    TMoxButton* Button(const char* name) { return dialog.findChild<TMoxButton*>(QString::fromLatin1(name)); }
    static std::pair<QColor, QColor> Colours(QWidget* field) {
        return {field->palette().color(QPalette::WindowText), field->palette().color(QPalette::Window)};
    }

    TFHotovost dialog{context, nullptr};
};

const QString kNbsp(QChar(0x00A0));

TEST_F(PaymentDialog, TheChangeIsWhatWasHandedOverMinusTheAmount) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.SetReceipt(7);
    dialog.SetAmount(123.50);
    EXPECT_EQ(Label("ECastka")->text(), QStringLiteral("123,50 Kč"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("-123,50 Kč")) << "nothing handed over yet";

    Type(Zaplaceno(), QStringLiteral("200"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("76,50 Kč"));
    EXPECT_EQ(Colours(Label("EVratit")), std::pair(QColor(Qt::black), QColor(Qt::white)));

    Type(Zaplaceno(), QStringLiteral("100"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("-23,50 Kč"));
    // White as the money going out is written, on a field where white can be read.
    EXPECT_EQ(Colours(Label("EVratit")), std::pair(QColor(Qt::white), QColor(128, 0, 0)));

    Type(Zaplaceno(), QStringLiteral("1500"));
    Button("BZavrit")->setFocus();
    EXPECT_EQ(Zaplaceno()->text(), QStringLiteral("1") + kNbsp + QStringLiteral("500"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("1") + kNbsp + QStringLiteral("376,50 Kč"))
        << "the grouped text of the field still counts";
}

TEST_F(PaymentDialog, AHandedOverTextThatIsNoNumberShowsDashesInBlack) {
    dialog.show();
    dialog.SetAmount(123.50);
    Type(Zaplaceno(), QStringLiteral("-"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("---"));
    EXPECT_EQ(Colours(Label("EVratit")).first, QColor(Qt::black));
    Zaplaceno()->setText(QStringLiteral("abc"));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("---"));
    EXPECT_TRUE(hook.messages.empty()) << "not a number is no error";
}

TEST_F(PaymentDialog, AReturnedDepositIsShownWhiteOnMaroon) {
    dialog.SetDeposit(3);
    dialog.SetAmount(-2500);
    EXPECT_EQ(Label("ECastka")->text(), QStringLiteral("-2") + kNbsp + QStringLiteral("500,00 Kč"));
    EXPECT_EQ(Colours(Label("ECastka")), std::pair(QColor(Qt::white), QColor(128, 0, 0)));
    EXPECT_EQ(Label("EVratit")->text(), QStringLiteral("2") + kNbsp + QStringLiteral("500,00 Kč"));
    dialog.SetAmount(0);
    EXPECT_EQ(Colours(Label("ECastka")), std::pair(QColor(Qt::black), QColor(Qt::white)));
}

TEST_F(PaymentDialog, PrintIsTheDefaultAndSaysSoWhenNoReceiptPrinterIsSetUp) {
    dialog.show();
    dialog.SetReceipt(7);
    dialog.SetAmount(50);
    EXPECT_TRUE(Button("BTisk")->isDefault());
    Zaplaceno()->setFocus();
    QTest::keyClick(Zaplaceno(), Qt::Key_Return);
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Tiskárna paragonů není nastavena.\rParagon nebyl vytištěn."));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";

    QTest::keyClick(Zaplaceno(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << "Esc closes";
}

TEST_F(PaymentDialog, PrintingChoosesTheReceiptByTheModeAndTheSign) {
    TRecordingPrinter printer;
    TFHotovost receipt(context, &printer);
    receipt.SetReceipt(41);
    receipt.SetAmount(80);
    receipt.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();
    receipt.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();

    TFHotovost taken(context, &printer);
    taken.SetDeposit(5);
    taken.SetAmount(300);
    taken.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();

    TFHotovost returned(context, &printer);
    returned.SetDeposit(5);
    returned.SetAmount(-120.5);
    returned.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();

    EXPECT_EQ(printer.printed,
              (QStringList{QStringLiteral("document 41 x1"), QStringLiteral("document 41 x1"),
                           QStringLiteral("taken 5 x1 300"), QStringLiteral("returned 5 x1 120.5")}));
    EXPECT_TRUE(hook.messages.empty());
}

} // namespace
