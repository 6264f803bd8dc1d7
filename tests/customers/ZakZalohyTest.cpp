#include "ZakZalohy.h"
#include "AppContext.h"
#include "Deposits.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "QStringPrinting.h"
#include "ReceiptPrinter.h"
#include "TestDatabase.h"
#include "ZakZalPrev.h"
#include "ZakZalVrac.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <functional>

namespace {

// Records the receipts asked for, as the shop's receipt printer receives them.
class TRecordingPrinter final : public TReceiptPrinter {
public:
    void PrintDocument(int kodDok, int, TTransaction&) override {
        printed << QStringLiteral("document %1").arg(kodDok);
    }
    void PrintDepositTaken(int kodZak, int copies, double amount, TTransaction&) override {
        printed << QStringLiteral("taken %1 x%2 %3").arg(kodZak).arg(copies).arg(amount);
    }
    void PrintDepositReturned(int kodZak, int copies, double amount, TTransaction&) override {
        printed << QStringLiteral("returned %1 x%2 %3").arg(kodZak).arg(copies).arg(amount);
    }
    QStringList printed;
};

// The deposit dialogs on a real database with ADMIN logged in; every dialog they open is
// answered by a script, as the clerk would.
class DepositDialogs : public ::testing::Test {
protected:
    DepositDialogs() {
        database.LogInAdmin(context);
        kodUziv = context.CurrentUser.KodUziv;
        database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, UZIV_REG, UZIV_ZMENA) "
                                     "values (7, 'Eva', 'Malá', %1, %1)")
                          .arg(kodUziv));
    }

    // Types over the field's text key by key, as the clerk does.
    static void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
    template <typename T = QWidget> static T* Child(QWidget& parent, const char* name) {
        T* child = parent.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static TMoxButton* Button(QWidget& parent, const char* name) { return Child<TMoxButton>(parent, name); }
    // The taking or returning dialog: the clerk types the amount and the note and saves; the
    // payment dialog that follows remembers what it showed.
    void ScriptEntry(const QString& amount, const QString& note) {
        hook.Script([this, amount, note](QDialog& dialog) {
            entryAmount.push_back(Child<QLineEdit>(dialog, "ECastka")->text());
            Type(Child(dialog, "ECastka"), amount);
            Type(Child(dialog, "EPoznamka"), note);
            ScriptPayment();
            Button(dialog, "BUlozit")->click();
        });
    }
    void ScriptPayment() {
        hook.Script([this](QDialog& dialog) {
            paymentShown.push_back(Child<QLabel>(dialog, "ECastka")->text());
            dialog.reject();
        });
    }
    QVariant Value(const QString& sql) { return database.Scalar(sql); }
    int OpenRows() {
        return Value(QStringLiteral("select count(*) from ZALOHY where KOD_ZAK = 7 and D_VRACENI is null"))
            .toInt();
    }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    int kodUziv = 0;
    std::vector<QString> entryAmount;
    std::vector<QString> paymentShown;
};

TEST_F(DepositDialogs, ACustomerWithoutDepositsCanOnlyGiveOne) {
    TFZakZalohy zalohy(context);
    zalohy.SetJmeno(QStringLiteral("Eva Malá"));
    hook.Script([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zálohy zákazníka: Eva Malá"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "EZalohy")->text(), QStringLiteral("0,00"));
        EXPECT_EQ(Child<QLabel>(dialog, "LMena")->text(), QStringLiteral("Kč"));
        EXPECT_FALSE(Button(dialog, "BVratit")->isEnabled());
        EXPECT_TRUE(Button(dialog, "BPrevzit")->isEnabled());
        EXPECT_EQ(dialog.focusWidget(), Button(dialog, "BPrevzit"));
        dialog.reject();
    });
    zalohy.Open(7);
    EXPECT_DOUBLE_EQ(zalohy.CurrentDeposit(), 0);
}

// The whole life of a deposit through the windows: taken, topped up, partly and fully returned,
// each save followed by the payment dialog, the overview loaded again after each.
TEST_F(DepositDialogs, TheOverviewTakesTopsUpAndReturnsThroughItsDialogs) {
    TFZakZalohy zalohy(context);
    zalohy.SetJmeno(QStringLiteral("Eva Malá"));
    std::vector<QString> held;
    hook.Script([&](QDialog& dialog) {
        const auto step = [&](const char* button, const QString& amount, const QString& note) {
            ScriptEntry(amount, note);
            Button(dialog, button)->click();
            held.push_back(Child<QLineEdit>(dialog, "EZalohy")->text());
        };
        step("BPrevzit", QStringLiteral("500"), QStringLiteral("první"));
        step("BPrevzit", QStringLiteral("300"), QStringLiteral("druhá"));
        auto* grid = Child<TMoxGrid>(dialog, "GridZalohy");
        ASSERT_EQ(grid->model()->rowCount(), 2);
        EXPECT_EQ(grid->model()->index(0, 2).data().toString(), QStringLiteral("800,00")) << "newest first";
        EXPECT_EQ(grid->model()->index(1, 6).data().toString(), kNoteToppedUp);
        EXPECT_TRUE(Button(dialog, "BVratit")->isEnabled());
        step("BVratit", QStringLiteral("200"), QStringLiteral("část"));
        step("BVratit", QStringLiteral("600"), QStringLiteral("vše"));
        EXPECT_FALSE(Button(dialog, "BVratit")->isEnabled());
        EXPECT_EQ(grid->model()->rowCount(), 3);
        dialog.reject();
    });
    zalohy.Open(7);

    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFZakZalohy"), QStringLiteral("TFZakZalPrev"),
                                    QStringLiteral("TFHotovost"), QStringLiteral("TFZakZalPrev"),
                                    QStringLiteral("TFHotovost"), QStringLiteral("TFZakZalVrac"),
                                    QStringLiteral("TFHotovost"), QStringLiteral("TFZakZalVrac"),
                                    QStringLiteral("TFHotovost")}));
    EXPECT_EQ(held, (std::vector<QString>{QStringLiteral("500,00"), QStringLiteral("800,00"),
                                          QStringLiteral("600,00"), QStringLiteral("0,00")}));
    // The payment dialog shows what was taken (not the new total), and what is paid out as negative.
    EXPECT_EQ(paymentShown,
              (std::vector<QString>{QStringLiteral("500,00 Kč"), QStringLiteral("300,00 Kč"),
                                    QStringLiteral("-200,00 Kč"), QStringLiteral("-600,00 Kč")}));
    EXPECT_EQ(entryAmount, (std::vector<QString>{QStringLiteral("0,00"), QStringLiteral("0,00"),
                                                 QStringLiteral("800,00"), QStringLiteral("600,00")}))
        << "a return starts at what the customer holds";
    EXPECT_EQ(Value(QStringLiteral("select POZN_VRAC from ZALOHY where CASTKA = 800")).toString(),
              QStringLiteral("část"));
    EXPECT_EQ(OpenRows(), 0);
    EXPECT_DOUBLE_EQ(zalohy.CurrentDeposit(), 0);
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(DepositDialogs, ReturnedRowsAreGreyAndTheOpenOneIsNot) {
    ASSERT_TRUE(TakeDeposit(database.Db(), {7, 500, {}, kodUziv, QStringLiteral("Kč")}).saved);
    ASSERT_TRUE(TakeDeposit(database.Db(), {7, 300, {}, kodUziv, QStringLiteral("Kč")}).saved);
    TFZakZalohy zalohy(context);
    zalohy.resize(900, 400);
    zalohy.Load(7);
    zalohy.show();
    auto* grid = Child<TMoxGrid>(zalohy, "GridZalohy");
    grid->clearSelection();
    grid->setCurrentIndex({});
    const QImage drawn = grid->viewport()->grab().toImage();
    const QColor grey(128, 128, 128);
    // How many pixels of the amount's cell are drawn exactly in grey.
    const auto greyInk = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 2));
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                count += QColor(drawn.pixel(x, y)) == grey;
        return count;
    };
    EXPECT_EQ(greyInk(0), 0) << "the open row, newest, is not grey";
    EXPECT_GT(greyInk(1), 0) << "the returned row is";
    QStringList legends;
    for (const TMoxLabel* label : zalohy.findChildren<TMoxLabel*>())
        if (label->isFramed())
            legends << label->text();
    EXPECT_EQ(legends, QStringList{QStringLiteral("Již vrácené zálohy.")});
}

TEST_F(DepositDialogs, LeavingAnUnsavedTakingAsksAndSavesOnlyOnYes) {
    TFZakZalPrev prevzeti(context);
    prevzeti.SetZakaznik(7);
    prevzeti.show();
    EXPECT_FALSE(Button(prevzeti, "BUlozit")->isEnabled());
    EXPECT_TRUE(Button(prevzeti, "BUlozit")->isDefault());
    Type(Child(prevzeti, "ECastka"), QStringLiteral("250"));
    EXPECT_TRUE(Button(prevzeti, "BUlozit")->isEnabled());

    hook.Answer({TMsgResult::Cancel});
    Button(prevzeti, "BZavrit")->click();
    EXPECT_TRUE(prevzeti.isVisible()) << "Zpět stays";
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Převzetí zálohy nebylo uloženo. Uložit?")});
    EXPECT_EQ(hook.messages[0].buttons, TMsgButtons::YesNoCancel);

    hook.Answer({TMsgResult::Yes});
    ScriptPayment();
    QTest::keyClick(Child(prevzeti, "ECastka"), Qt::Key_Escape);
    EXPECT_FALSE(prevzeti.isVisible()) << "saved, paid and closed";
    EXPECT_TRUE(prevzeti.Saved());
    EXPECT_EQ(paymentShown, std::vector<QString>{QStringLiteral("250,00 Kč")});
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("select CASTKA from ZALOHY where KOD_ZAK = 7")).toDouble(), 250);

    TFZakZalVrac vraceni(context);
    vraceni.SetZakaznik(7, 250);
    vraceni.show();
    hook.Clear();
    hook.Answer({TMsgResult::No});
    Button(vraceni, "BZavrit")->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Vrácení zálohy nebylo uloženo. Uložit?")});
    EXPECT_FALSE(vraceni.isVisible());
    EXPECT_FALSE(vraceni.Saved());
    EXPECT_EQ(OpenRows(), 1) << "Ne writes nothing";
}

TEST_F(DepositDialogs, AReturnAboveTheDepositIsRefusedAndTheClerksInputStays) {
    ASSERT_TRUE(TakeDeposit(database.Db(), {7, 800, {}, kodUziv, QStringLiteral("Kč")}).saved);
    TFZakZalVrac vraceni(context);
    vraceni.SetZakaznik(7, 800);
    vraceni.show();
    Type(Child(vraceni, "ECastka"), QStringLiteral("1000"));
    Type(Child(vraceni, "EPoznamka"), QStringLiteral("celé"));
    hook.Answer({TMsgResult::Ok});
    Button(vraceni, "BUlozit")->click();
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Zákazník má převzaté zálohy jen ve výši 800,00 "
                                                  "Kč.\rVrátit nelze 1\u00A0000,00 Kč.\rNic nebylo "
                                                  "uloženo.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(vraceni.isVisible());
    EXPECT_FALSE(vraceni.Saved());
    EXPECT_TRUE(Button(vraceni, "BUlozit")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(vraceni, "EPoznamka")->text(), QStringLiteral("celé"));
    EXPECT_EQ(Value(QStringLiteral("select count(*) from ZALOHY where KOD_ZAK = 7")).toInt(), 1);
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{}) << "no payment for money not paid out";
}

TEST_F(DepositDialogs, ASaveBlockedByAnotherCounterSaysSoAndCanBeRepeated) {
    ASSERT_TRUE(TakeDeposit(database.Db(), {7, 800, {}, kodUziv, QStringLiteral("Kč")}).saved);
    TAppContext other(database.ExecutablePath());
    TFZakZalPrev prevzeti(context);
    prevzeti.SetZakaznik(7);
    prevzeti.show();
    Type(Child(prevzeti, "ECastka"), QStringLiteral("100"));
    {
        TTransaction holding(other.Db().DB);
        holding.StartTransaction();
        other.Db().ExecSql(holding,
                           QStringLiteral("update ZALOHY set POZN_PREV = 'jinde' where KOD_ZAK = 7"));
        hook.Answer({TMsgResult::Ok});
        Button(prevzeti, "BUlozit")->click();
        holding.Rollback();
    }
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Zálohy zákazníka právě mění jiná pokladna.\r"
                                                  "Nic nebylo uloženo, zkuste to prosím znovu.")});
    EXPECT_TRUE(prevzeti.isVisible());
    EXPECT_EQ(OpenRows(), 1);

    ScriptPayment();
    Button(prevzeti, "BUlozit")->click();
    EXPECT_TRUE(prevzeti.Saved());
    EXPECT_DOUBLE_EQ(
        Value(QStringLiteral("select CASTKA from ZALOHY where KOD_ZAK = 7 and D_VRACENI is null")).toDouble(),
        900);
}

// The payment dialog after a save prints the deposit receipt for what changed hands.
TEST_F(DepositDialogs, ThePaymentAfterASavePrintsTheDepositReceipt) {
    TRecordingPrinter printer;
    context.ReceiptPrinter = &printer;
    const auto save = [&](TDepositEntry& entry, const QString& amount) {
        entry.show();
        Type(Child(entry, "ECastka"), amount);
        hook.Script([](QDialog& payment) {
            Button(payment, "BTisk")->click();
            payment.reject();
        });
        Button(entry, "BUlozit")->click();
        EXPECT_TRUE(entry.Saved());
    };
    TFZakZalPrev prevzeti(context);
    prevzeti.SetZakaznik(7);
    save(prevzeti, QStringLiteral("800"));
    TFZakZalVrac vraceni(context);
    vraceni.SetZakaznik(7, 800);
    save(vraceni, QStringLiteral("250"));
    EXPECT_EQ(printer.printed,
              (QStringList{QStringLiteral("taken 7 x1 800"), QStringLiteral("returned 7 x1 250")}));
    EXPECT_TRUE(hook.messages.empty());
}

} // namespace
