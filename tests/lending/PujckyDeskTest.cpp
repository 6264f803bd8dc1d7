#include "Documents.h"
#include "Extension.h"
#include "LendingFixture.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "NosicHledani.h"
#include "Pujcky.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTest>

#include <map>
#include <memory>

namespace {

// The counter on its own database with ADMIN logged in, served with the barcode reader: every
// dialog it opens is answered by a script, as the clerk would.
class CounterDesk : public LendingShop {
protected:
    CounterDesk() {
        database.LogInAdmin(context);
        context.CurrentUser.Jmeno = QStringLiteral("Správce");
        kodUziv = context.CurrentUser.KodUziv;
        today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, ADR_ULICE, ADR_OBEC, "
                           "POCET_PUJCEK, VIP) values (501, '0101261200000501', 'Jan', 'O''Brien', "
                           "'Dlouhá 5', 'Praha', 9, 'N')"));
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, VIP) "
                           "values (502, '0101261200000502', 'Eva', 'Malá', 0, 'N')"));
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 2);
        AddTitle(4, QStringLiteral("Kolja"), QStringLiteral("V"), 20, 1, 0);
        AddTitle(5, QStringLiteral("Samotáři"), QStringLiteral("D"), 30, 1, 0);
        code1 = AddMedium(1, 3);
        AddMedium(2, 3);
        AddMedium(4, 4);
        AddMedium(5, 5);
        LendOn(4, 4, 501, -3, -1, 20);
        LendOn(5, 5, 502, -2, 1, 30);
        desk = std::make_unique<TFPujcky>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
    }
    ~CounterDesk() override {
        desk->LeaveDesk();
        desk.reset();
    }
    void LendOn(int kodNosic, int kodTitul, int kodZak, int lent, int due, double price) {
        database.RecordLoan(kodNosic, kodTitul, kodZak, today.addDays(lent), today.addDays(due), price);
    }

    template <typename T = QWidget> T* Child(const char* name) {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TMoxButton* Button(const char* name) { return Child<TMoxButton>(name); }
    QString Text(const char* name) { return Child<QLineEdit>(name)->text(); }
    static void Type(QWidget* field, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
    // What the reader does at a search field: the code, then Enter.
    void Scan(QWidget* field, const QString& code) {
        field->setFocus();
        Type(field, code);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The lookup dialog the next button opens: the reader scans the code, the clerk may type more,
    // then confirms.
    void ScriptLookup(const QString& code, std::function<void(QDialog&)> more = {}) {
        hook.Script([this, code, more](QDialog& dialog) {
            Scan(dialog.findChild<QLineEdit*>(QStringLiteral("ENosic")), code);
            if (more)
                more(dialog);
            auto* confirm = dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"));
            ASSERT_TRUE(confirm->isEnabled()) << code.toStdString();
            confirm->click();
        });
    }
    // The payment dialog: remembers the amount it showed and closes.
    void ScriptPayment() {
        hook.Script([this](QDialog& dialog) {
            paymentShown = dialog.findChild<QLabel*>(QStringLiteral("ECastka"))->text();
            dialog.reject();
        });
    }
    // "Prodloužit" on the current loan: the clerk types the number of days and confirms.
    void ScriptExtension(int days) {
        hook.Script([days](QDialog& dialog) {
            auto* field = dialog.findChild<TMoxNumEdit*>(QStringLiteral("EPocetDni"));
            field->selectAll();
            QTest::keyClicks(field, QString::number(days));
            dialog.findChild<TMoxButton*>(QStringLiteral("BProdlouzit"))->click();
        });
    }
    QDate DueOf(int kodNosic) {
        return Value(QStringLiteral("select TERMIN_VRACENI from PUJCKY where KOD_NOSIC = %1").arg(kodNosic))
            .toDate();
    }
    int Count(const QString& table, const QString& where = QStringLiteral("1 = 1")) {
        return database.Scalar(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
    }
    QVariant Value(const QString& sql) { return database.Scalar(sql); }
    QString CodeOf(int kodNosic) {
        return Value(QStringLiteral("select EAN_KOD from NOSICE where KOD_NOSIC = %1").arg(kodNosic))
            .toString();
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFPujcky> desk;
    int kodUziv = 0;
    QDate today;
    QString code1;
    QString paymentShown;
};

TEST_F(CounterDesk, ACustomerIsFoundByCardNumberOrSurnameAndUnknownCodesAreNamed) {
    Scan(Child("EHledejEAN"), QStringLiteral("0101261200000501"));
    EXPECT_EQ(desk->CustomerKey(), 501);
    EXPECT_EQ(Text("EJmeno"), QStringLiteral("Jan O'Brien"));
    EXPECT_EQ(Text("EAdresa"), QStringLiteral("Dlouhá 5, Praha"));
    EXPECT_EQ(Text("EPujceno"), QStringLiteral("1"));
    EXPECT_EQ(Text("ECelkemPujceno"), QStringLiteral("9"));
    EXPECT_EQ(Text("EHledejEAN"), QString());

    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    EXPECT_EQ(desk->CustomerKey(), 502);

    hook.Answer({TMsgResult::Ok});
    Scan(Child("EHledejEAN"), QStringLiteral("12'4567"));
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Zákazník s EAN kódem 12'4567 nebyl nalezen.")});
    EXPECT_EQ(desk->CustomerKey(), 502) << "the customer shown stays";

    Child<QLineEdit>("EHledejEAN")->clear();
    Scan(Child("EHledejPrijmeni"), QStringLiteral("o'b"));
    EXPECT_EQ(desk->CustomerKey(), 501) << "an apostrophe is part of the surname";
    EXPECT_EQ(Child<QLabel>("LPocet")->text(), QStringLiteral("1 / 1"));
    Scan(Child("EHledejPrijmeni"), QStringLiteral("zzz'"));
    EXPECT_EQ(Child<QLabel>("LFiltr")->text(), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_EQ(Child<QLabel>("LPocet")->text(), QStringLiteral("0 / 0"));
}

TEST_F(CounterDesk, AWholeVisitIsLentReturnedPaidAndWrittenOnce) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1, [](QDialog& dialog) {
        auto* days = dialog.findChild<TMoxNumEdit*>(QStringLiteral("EPocetDni"));
        days->selectAll();
        QTest::keyClicks(days, QStringLiteral("3"));
    });
    Button("BPujcit")->click();
    ScriptLookup(QStringLiteral("4"), [](QDialog& dialog) {
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("EZprava")), QStringLiteral("obal prasklý"));
    });
    Button("BVratit")->click();
    EXPECT_EQ(desk->Visit().Cart().size(), 2u);
    EXPECT_EQ(Text("ECenaCelkem"), QStringLiteral("125,00")) << "3 days at 35 and one late day at 20";
    EXPECT_EQ(Text("ECelkemPujceno"), QStringLiteral("10"));
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());

    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFNosicPujceni"), QStringLiteral("TFNosicVraceni"),
                                    QStringLiteral("TFHotovost")}));
    EXPECT_EQ(paymentShown, QStringLiteral("125,00 Kč"));
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());
    EXPECT_EQ(hook.waitTexts,
              std::vector<QString>{QStringLiteral("Ukládám půjčení/rezervaci/vrácení titulu...")});
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("select CENA_DPH from DOKLADY")).toDouble(), 125);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"),
                    QStringLiteral("KOD_NOSIC = 1 and KOD_ZAK = 501 and D_VRACENI is null "
                                   "and TERMIN_VRACENI = ") +
                        SqlDate(today.addDays(3))),
              1);
    EXPECT_EQ(Value(QStringLiteral("select INFO_VRACENI from PUJCKY where KOD_NOSIC = 4")).toString(),
              QStringLiteral("obal prasklý"));
    EXPECT_EQ(Value(QStringLiteral("select POCET_PUJCEK from ZAKAZNICI where KOD_ZAK = 501")).toInt(), 10);
    // The cart now shows the new loan on record; the returned medium is gone from it.
    ASSERT_EQ(desk->Visit().Cart().size(), 1u);
    EXPECT_EQ(desk->Visit().Cart()[0].kodNosic, 1);
    EXPECT_EQ(Text("ECelkemPujceno"), QStringLiteral("10"));
}

TEST_F(CounterDesk, OnTimeReturnsWriteNoReceiptAndOpenNoPaymentDialog) {
    LendOn(2, 3, 501, 0, 2, 35);
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(QStringLiteral("2"));
    Button("BVratit")->click();
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFNosicVraceni")});
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 2 and D_VRACENI is not null")), 1);
}

TEST_F(CounterDesk, AMediumOfAnotherCustomerSwitchesTheCounterToThemWithoutAsking) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    ScriptLookup(QStringLiteral("5"), [](QDialog& dialog) {
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("EDuvod")), QStringLiteral("nejde přehrát"));
    });
    Button("BReklamace")->click();
    EXPECT_EQ(desk->CustomerKey(), 502);
    EXPECT_TRUE(hook.messages.empty());
    ASSERT_EQ(desk->Visit().Cart().size(), 1u) << "501's unpaid loan is dropped";
    EXPECT_TRUE(desk->Visit().Cart()[0].IsComplaint());
    EXPECT_EQ(Text("ECenaCelkem"), QStringLiteral("-90,00"));
    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_EQ(paymentShown, QStringLiteral("-90,00 Kč"));
    EXPECT_EQ(Count(QStringLiteral("REKLAMACE"), QStringLiteral("KOD_NOSIC = 5 and KOD_ZAK = 502")), 1);
    EXPECT_EQ(Value(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 5")).toInt(), 1);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
}

TEST_F(CounterDesk, ACardReadOverAnUnpaidVisitAsksWhetherToSaveIt) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    hook.Answer({TMsgResult::Cancel});
    Scan(Child("EHledejEAN"), QStringLiteral("0101261200000502"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_EQ(desk->CustomerKey(), 501) << "Zpět keeps the visit";
    EXPECT_EQ(desk->Visit().NewLoans(), 1);

    hook.Answer({TMsgResult::No});
    Scan(Child("EHledejEAN"), QStringLiteral("0101261200000502"));
    EXPECT_EQ(desk->CustomerKey(), 502);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0) << "Ne drops it";

    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    hook.Answer({TMsgResult::Yes});
    ScriptPayment();
    Scan(Child("EHledejEAN"), QStringLiteral("0101261200000502"));
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1 and KOD_ZAK = 501")), 1)
        << "Ano pays it";
    EXPECT_EQ(desk->CustomerKey(), 502);
    EXPECT_EQ(hook.Texts().size(), 3u);
}

// The clerk's hands stay on the reader: the keys besides the scans are counted. Keys go where
// the window shown has its focus.
TEST_F(CounterDesk, AVisitOfThreeLoansAndOneReturnIsServedWithOneKeyPerMedium) {
    AddTitle(6, QStringLiteral("Obecná škola"), QStringLiteral("D"), 30, 1, 1);
    const QString code7 = AddMedium(7, 6);
    desk->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.get()));
    int keys = 0;
    const auto press = [&keys](QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        ++keys;
        QTest::keyClick(window.focusWidget(), key, modifiers);
    };
    const auto scan = [this](const QString& code) {
        QTest::keyClicks(desk->focusWidget(), code);
        QTest::keyClick(desk->focusWidget(), Qt::Key_Return);
    };
    const auto lookAndPress = [&](Qt::Key key) {
        hook.Script([&press, key](QDialog& dialog) { press(dialog, key); });
    };

    scan(QStringLiteral("0101261200000501"));
    for (const QString& code : {code1, CodeOf(2), code7, CodeOf(4)}) {
        EXPECT_EQ(desk->focusWidget(), Button("BPujcit")) << "where the next label is read";
        lookAndPress(Qt::Key_Return);
        scan(code);
    }
    EXPECT_LE(keys, 4) << "at most one key per medium";
    lookAndPress(Qt::Key_Escape);
    press(*desk, Qt::Key_R, Qt::AltModifier);
    // An accelerator presses its button the way a click does, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([this] { return hook.dialogsOpened.size() == 5u; }));
    EXPECT_LE(keys, 6) << "paying takes a key, and one more closes the payment dialog";

    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFNosicPujceni"), QStringLiteral("TFNosicPujceni"),
                                    QStringLiteral("TFNosicPujceni"), QStringLiteral("TFNosicVraceni"),
                                    QStringLiteral("TFHotovost")}));
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_ZAK = 501 and D_VRACENI is null")), 3);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 4 and D_VRACENI is not null")), 1);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
}

TEST_F(CounterDesk, AMediumLabelReadIntoTheCardFieldOpensItsReturnAtItsBorrower) {
    hook.Answer({TMsgResult::Ok});
    Scan(Child("EHledejEAN"), code1);
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Nosič s CN kódem ") + code1 +
                                                 QStringLiteral(" není vypůjčen.")});
    QString found;
    hook.Script([&](QDialog& dialog) {
        found = dialog.findChild<QLineEdit*>(QStringLiteral("ENazevCesky"))->text();
        dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"))->click();
    });
    Scan(Child("EHledejEAN"), CodeOf(5));
    EXPECT_EQ(found, QStringLiteral("Samotáři"));
    EXPECT_EQ(desk->CustomerKey(), 502);
    ASSERT_EQ(desk->Visit().Cart().size(), 1u);
    EXPECT_TRUE(desk->Visit().Cart()[0].IsBackToday());
    EXPECT_EQ(Text("EHledejEAN"), QString());
}

TEST_F(CounterDesk, EveryAcceleratorOfTheCounterLeadsToOnePlace) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    std::map<QString, QString> taken;
    const auto take = [&](const QString& caption) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty())
            return;
        const auto [at, fresh] = taken.emplace(key.toString(), caption);
        EXPECT_TRUE(fresh) << caption.toStdString() << " and " << at->second.toStdString();
    };
    for (const QLabel* label : desk->findChildren<QLabel*>())
        if (label->buddy())
            take(label->text());
    for (const QAbstractButton* button : desk->findChildren<QAbstractButton*>())
        take(button->text());
    EXPECT_EQ(taken.count(QStringLiteral("Alt+J")), 1u) << "the loans grid";
}

TEST_F(CounterDesk, UndoTakesBackTheCurrentRowAndKeepsTheLateFeeOfAnother) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(QStringLiteral("4"));
    Button("BVratit")->click();
    ScriptLookup(code1);
    Button("BPujcit")->click();
    EXPECT_EQ(Button("BZpet")->text(), QStringLiteral("Zp&ět (nepůjčovat)"));
    EXPECT_EQ(Text("ECelkemPujceno"), QStringLiteral("10"));
    Button("BZpet")->click();
    EXPECT_EQ(Text("ECelkemPujceno"), QStringLiteral("9"));
    EXPECT_EQ(Text("ECenaCelkem"), QStringLiteral("20,00"));
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());
    EXPECT_TRUE(desk->Visit().ReceiptNeeded()) << "the late fee is still due";
    EXPECT_EQ(Button("BZpet")->text(), QStringLiteral("Zp&ět (nevracet)"));
    Button("BZpet")->click();
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());
    EXPECT_FALSE(Button("BZpet")->isEnabled());
    EXPECT_EQ(Text("ECenaCelkem"), QStringLiteral("0,00"));
}

TEST_F(CounterDesk, LeavingWithAPendingVisitAsksAndPaysOnlyOnYes) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    hook.Answer({TMsgResult::Cancel});
    EXPECT_FALSE(desk->CanLeave());
    EXPECT_EQ(hook.Texts().back(),
              QStringLiteral("Provedené změny nebyly uloženy, půjčky nebyly \rzaplaceny/vrácení "
                             "nebylo potvrzeno. Zaplatit/potvrdit?"));
    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
    hook.Answer({TMsgResult::Yes});
    ScriptPayment();
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 1);
}

TEST_F(CounterDesk, APaymentBlockedByAnotherCounterKeepsTheVisitForPayingAgain) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    {
        TTransaction other(db.DB);
        other.StartTransaction();
        db.ExecSql(other, QStringLiteral("update NOSICE set CENA_NAKUP = 1 where KOD_NOSIC = 1"));
        hook.Answer({TMsgResult::Ok});
        Button("BZaplatit")->click();
        other.Rollback();
    }
    ASSERT_EQ(hook.messages.size(), 1u) << "the conflict is reported";
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(hook.Texts().front(),
              QStringLiteral("Jiná pokladna právě ukládá platbu se stejnými nosiči, tituly "
                             "nebo zákazníkem.\rNic nebylo uloženo, zaplaťte znovu."));
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());
    EXPECT_EQ(desk->Visit().NewLoans(), 1);

    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 1);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
}

TEST_F(CounterDesk, AVatRateChangedAtAnotherCounterPricesItsNextVisit) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    ScriptPayment();
    Button("BZaplatit")->click();
    // Another counter's settings desk lowers the rental rate while this counter stays open.
    database.Exec(QStringLiteral("update SPEC_CENA set DPH_B = 10"));
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    ScriptLookup(CodeOf(2));
    Button("BPujcit")->click();
    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("select CENA from RADKY_DOK where KOD_NOSIC = 1")).toDouble(),
                     28.93);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("select CENA from RADKY_DOK where KOD_NOSIC = 2")).toDouble(),
                     31.82);
}

TEST_F(CounterDesk, AMediumLentAtAnotherCounterMeanwhileIsNamedAndNothingIsWritten) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Button("BPujcit")->click();
    LendOn(1, 3, 502, 0, 1, 35);
    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Nosič ") + code1 +
                                   QStringLiteral(" (Pelíšky) byl mezitím půjčen na jiné pokladně.\r"
                                                  "Nic nebylo uloženo.")});
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());
    EXPECT_EQ(Child<TMoxGrid>("GridPujcky")->currentIndex().row(), desk->Visit().FindAnyMedium(1))
        << "the row in conflict is selected";
    EXPECT_EQ(Button("BZpet")->text(), QStringLiteral("Zp&ět (nepůjčovat)"));
}

TEST_F(CounterDesk, AReturnBookedAtAnotherCounterMeanwhileLeavesTheCartAndTheRestIsPaid) {
    LendOn(2, 3, 501, 0, 2, 35);
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(QStringLiteral("4"));
    Button("BVratit")->click();
    ScriptLookup(QStringLiteral("2"), [](QDialog& dialog) {
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("EZprava")), QStringLiteral("bez obalu"));
    });
    Button("BVratit")->click();
    database.Exec(QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = 4"));
    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    ASSERT_EQ(hook.Texts().size(), 1u);
    EXPECT_TRUE(hook.Texts()[0].contains(QStringLiteral("byl mezitím vrácen na jiné pokladně.")));
    ASSERT_EQ(desk->Visit().Cart().size(), 1u) << "reloaded: the medium is back already";
    EXPECT_EQ(desk->Visit().Cart()[0].infoVraceni, QStringLiteral("bez obalu")) << "the clerk's return stays";

    Button("BZaplatit")->click();
    EXPECT_EQ(hook.Texts().size(), 1u);
    EXPECT_EQ(Value(QStringLiteral("select INFO_VRACENI from PUJCKY where KOD_NOSIC = 2")).toString(),
              QStringLiteral("bez obalu"));
}

TEST_F(CounterDesk, LendingAMediumOutWithSomeoneOffersAReservationInstead) {
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    ScriptLookup(QStringLiteral("4"));
    hook.Answer({TMsgResult::No});
    Button("BPujcit")->click();
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral(
                  "Tento nosič je již vypůjčen nějakým zákazníkem.\rNejdříve se musí nosič vrátit.\r\r"
                  "Chcete nosič rezervovat na následující den?")});
    EXPECT_EQ(desk->Visit().NewLoans(), 0);
}

TEST_F(CounterDesk, AReservationMadeAtTheCounterIsWrittenByThePaymentWithoutAReceipt) {
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    hook.Script([this](QDialog& dialog) {
        Scan(dialog.findChild<QLineEdit*>(QStringLiteral("EKod")), QStringLiteral("2"));
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("ENazev"))->text(), QStringLiteral("Pelíšky"));
        dialog.findChild<TMoxButton*>(QStringLiteral("BRezervovat"))->click();
    });
    Button("BRezervace")->click();
    ASSERT_EQ(desk->Visit().Reservations().size(), 1u);
    EXPECT_EQ(desk->Visit().Reservations()[0].uzivRezerv, QStringLiteral("Správce"));
    EXPECT_TRUE(Button("BZaplatit")->isEnabled());
    EXPECT_TRUE(Button("BZmenaRezervace")->isEnabled());

    hook.Script([](QDialog& dialog) { dialog.reject(); });
    Button("BRezervace")->click();
    hook.Answer({TMsgResult::Ok});
    hook.Script([this](QDialog& dialog) {
        Scan(dialog.findChild<QLineEdit*>(QStringLiteral("EKod")), QStringLiteral("1"));
        dialog.findChild<TMoxButton*>(QStringLiteral("BRezervovat"))->click();
    });
    Button("BRezervace")->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Zákazník má již titul rezervován.")});

    Button("BZaplatit")->click();
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"),
                    QStringLiteral("KOD_ZAK = 501 and KOD_TITUL = 3 and TERMIN_PUJCENI = ") + SqlDate(today) +
                        QStringLiteral(" and UZIV_REZERV = ") + QString::number(kodUziv)),
              1);
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(std::count(hook.dialogsOpened.begin(), hook.dialogsOpened.end(), QStringLiteral("TFHotovost")),
              0);
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());
}

TEST_F(CounterDesk, AReservationIsMovedOrCancelledThroughTheDialogAndWrittenInPlace) {
    Reserve(3, 501, today.addDays(2));
    Reserve(5, 501, today.addDays(4));
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ASSERT_EQ(desk->Visit().Reservations().size(), 2u);
    hook.Script([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("ENazev"))->text(), QStringLiteral("Pelíšky"))
            << "the search is on the reservation's title";
        EXPECT_TRUE(dialog.findChild<TMoxButton*>(QStringLiteral("BZrusit"))->isEnabled());
        auto* days = dialog.findChild<TMoxNumEdit*>(QStringLiteral("EPocetDni"));
        days->selectAll();
        QTest::keyClicks(days, QStringLiteral("3"));
        dialog.findChild<TMoxButton*>(QStringLiteral("BRezervovat"))->click();
    });
    Button("BZmenaRezervace")->click();
    EXPECT_EQ(desk->Visit().Reservations()[0].terminVraceni, today.addDays(5));
    auto* grid = Child<TMoxGrid>("GridRezerv");
    grid->setCurrentIndex(grid->model()->index(1, 2)); // the clerk picks the second reservation
    hook.Script([](QDialog& dialog) { dialog.findChild<TMoxButton*>(QStringLiteral("BZrusit"))->click(); });
    Button("BZmenaRezervace")->click();
    EXPECT_EQ(desk->Visit().Reservations().size(), 1u);
    EXPECT_TRUE(desk->Visit().ReservationRemoved());
    ASSERT_TRUE(Button("BZaplatit")->isEnabled());

    Button("BZaplatit")->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{});
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"),
                    QStringLiteral("KOD_ZAK = 501 and KOD_TITUL = 3 and TERMIN_PUJCENI = ") +
                        SqlDate(today.addDays(2)) + QStringLiteral(" and TERMIN_VRACENI = ") +
                        SqlDate(today.addDays(5))),
              1);
    EXPECT_EQ(Count(QStringLiteral("REZERVACE"), QStringLiteral("KOD_TITUL = 5")), 0);
}

TEST_F(CounterDesk, AReservationCannotBeMovedOntoADayTheCustomerHoldsForTheTitle) {
    Reserve(3, 501, today.addDays(2));
    Reserve(3, 501, today.addDays(6));
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    hook.Answer({TMsgResult::Ok});
    hook.Script([](QDialog& dialog) {
        auto* grid = dialog.findChild<TMoxGrid*>(QStringLiteral("GridVolne"));
        grid->setFocus();
        for (int day = 0; day < 6; ++day)
            QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
        dialog.findChild<TMoxButton*>(QStringLiteral("BRezervovat"))->click();
    });
    Button("BZmenaRezervace")->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Zákazník má již titul rezervován.")});
    EXPECT_EQ(desk->Visit().Reservations()[0].terminPujceni, today.addDays(2));
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());
}

TEST_F(CounterDesk, AMediumComingBackForAReservationThatHasBegunIsPutAside) {
    database.Exec(QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) "
                                 "values (4, 502, %1, %2)")
                      .arg(SqlDate(today.addDays(-1)), SqlDate(today.addDays(1))));
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(QStringLiteral("4"));
    QString surname;
    bool aside = false;
    hook.Script([&](QDialog& notice) {
        surname = notice.findChild<QLineEdit*>(QStringLiteral("EPrijmeni"))->text();
        aside = !notice.findChild<QLabel*>(QStringLiteral("LStranou"))->isHidden();
        notice.accept();
    });
    Button("BVratit")->click();
    EXPECT_EQ(hook.dialogsOpened.back(), QStringLiteral("TFRezervJe"));
    EXPECT_EQ(surname, QStringLiteral("Malá"));
    EXPECT_TRUE(aside);
}

TEST_F(CounterDesk, AMediumOutWithSomeoneCanBeReservedForTheNextDays) {
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    ScriptLookup(QStringLiteral("4"));
    hook.Answer({TMsgResult::Yes});
    hook.Script([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("ENazev"))->text(), QStringLiteral("Kolja"))
            << "the medium is looked up for the clerk";
        dialog.reject();
    });
    Button("BPujcit")->click();
    EXPECT_EQ(hook.dialogsOpened.back(), QStringLiteral("TFTitulRezervace"));
}

TEST_F(CounterDesk, AnEndedCustomerCanReturnButNotBorrow) {
    database.Exec(QStringLiteral("update ZAKAZNICI set D_UKONCENI = CURRENT_TIMESTAMP where KOD_ZAK = 501"));
    hook.Answer({TMsgResult::Ok});
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Zákazník je ukončen. Již mu nelze půjčit další titul.")});
    EXPECT_TRUE(Child<QLabel>("LVyrazen")->isVisible());
    EXPECT_FALSE(Button("BPujcit")->isEnabled());
    EXPECT_FALSE(Button("BRezervace")->isEnabled());
    EXPECT_TRUE(Button("BVratit")->isEnabled());
}

// The deposits of the customer shown open from the counter; what the customer holds afterwards
// is shown with its marker.
TEST_F(CounterDesk, DepositsOpenForTheCustomerShownAndTheirSumComesBack) {
    EXPECT_FALSE(Button("BZalohy")->isEnabled()) << "no customer yet";
    database.Exec(
        QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, UZIV_PREVZAL, CASTKA) values (502, "
                       "CURRENT_TIMESTAMP - 3, %1, 150)")
            .arg(kodUziv));
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    EXPECT_EQ(Text("EZaloha"), QStringLiteral("150,00"));
    EXPECT_FALSE(Child("LZalohaZnak")->isHidden());
    ASSERT_TRUE(Button("BZalohy")->isEnabled());

    QString caption;
    hook.Script([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        hook.Script([](QDialog& vraceni) {
            EXPECT_EQ(vraceni.findChild<QLineEdit*>(QStringLiteral("ECastka"))->text(),
                      QStringLiteral("150,00"));
            vraceni.findChild<TMoxButton*>(QStringLiteral("BUlozit"))->click();
        });
        ScriptPayment();
        dialog.findChild<TMoxButton*>(QStringLiteral("BVratit"))->click();
        dialog.reject();
    });
    Button("BZalohy")->click();
    EXPECT_EQ(caption, QStringLiteral("Zálohy zákazníka: Eva Malá"));
    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFZakZalohy"), QStringLiteral("TFZakZalVrac"),
                                    QStringLiteral("TFHotovost")}));
    EXPECT_EQ(paymentShown, QStringLiteral("-150,00 Kč"));
    EXPECT_EQ(Text("EZaloha"), QStringLiteral("0,00"));
    EXPECT_TRUE(Child("LZalohaZnak")->isHidden()) << "nothing held, no marker";
    EXPECT_EQ(Value(QStringLiteral("select count(*) from ZALOHY where KOD_ZAK = 502 and D_VRACENI is null"))
                  .toInt(),
              0);
}

// An extension is priced as the longer loan less the loan as it was, paid with the rest of the
// visit, kept as one loan with its new due date, and given back when its receipt is cancelled.
TEST_F(CounterDesk, AnExtensionIsChargedInTheVisitsPaymentAndKeptAsOneLoan) {
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    ScriptExtension(2);
    Button("BProdlouzit")->click();
    EXPECT_EQ(desk->Visit().Cart()[0].prodlouzeniDo, today.addDays(3)) << "two days from the due date";
    EXPECT_EQ(Text("ECenaCelkem"), QStringLiteral("60,00")) << "a loan of 5 days less one of 3, at 30";
    ScriptLookup(code1);
    Scan(Button("BPujcit"), code1);
    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_EQ(paymentShown, QStringLiteral("95,00 Kč")) << "one payment for the extension and the new loan";
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 1);
    EXPECT_EQ(Count(QStringLiteral("RADKY_DOK"),
                    QStringLiteral("KOD_NOSIC = 5 and POCET_DNI = 2 and CENA_DPH = 30")),
              1);
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 5")), 1) << "still one loan";
    EXPECT_EQ(DueOf(5), today.addDays(3));
    EXPECT_FALSE(Button("BZaplatit")->isEnabled());

    QString shownDue;
    QString shownFormer;
    hook.Script([&](QDialog& dialog) {
        auto* loans =
            qobject_cast<TMemTable*>(dialog.findChild<TMoxGrid*>(QStringLiteral("GridPujcky"))->model());
        for (int row = 0; row < loans->rowCount(); ++row)
            if (loans->value(row, QStringLiteral("EAN_KOD")).toString() == CodeOf(5)) {
                shownDue = loans->value(row, QStringLiteral("TERMIN_VRACENI")).toString();
                shownFormer = loans->value(row, QStringLiteral("TERMIN_PUVODNI")).toString();
            }
        dialog.reject();
    });
    Button("BStatistika")->click();
    EXPECT_EQ(shownDue, today.addDays(3).toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(shownFormer, today.addDays(1).toString(QStringLiteral("dd.MM.yyyy")));

    // Extended again in a later visit, the loan runs on from the first extension's date: the first
    // receipt can be cancelled only once the later one is.
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    ScriptExtension(1);
    Button("BProdlouzit")->click();
    ScriptPayment();
    Button("BZaplatit")->click();
    EXPECT_EQ(DueOf(5), today.addDays(4));
    const int first = Value(QStringLiteral("select min(KOD_DOK) from DOKLADY")).toInt();
    const int second = Value(QStringLiteral("select max(KOD_DOK) from DOKLADY")).toInt();
    EXPECT_EQ(CancelDocument(db, first, false, kodUziv).outcome, TCancelOutcome::ExtensionOvertaken);
    EXPECT_EQ(DueOf(5), today.addDays(4));
    EXPECT_EQ(CancelDocument(db, second, false, kodUziv).outcome, TCancelOutcome::Cancelled);
    EXPECT_EQ(CancelDocument(db, first, false, kodUziv).outcome, TCancelOutcome::Cancelled);
    EXPECT_EQ(DueOf(5), today.addDays(1)) << "the days paid for are given back with the money";
    EXPECT_EQ(Count(QStringLiteral("PRODLOUZENI"), QStringLiteral("D_STORNO is not null")), 2);
}

// The title's one medium is wanted by another customer from the day after tomorrow: the loan can
// run until then, not into it; a reservation made at another counter meanwhile stops the payment.
TEST_F(CounterDesk, AnExtensionIntoAnotherCustomersReservationIsRefused) {
    Reserve(5, 501, today.addDays(2));
    Scan(Child("EHledejEAN"), QStringLiteral("502"));
    hook.Answer({TMsgResult::Ok});
    ScriptExtension(2);
    Button("BProdlouzit")->click();
    EXPECT_EQ(hook.Texts(), std::vector<QString>{ExtensionRefusedText(today.addDays(2))});
    EXPECT_FALSE(Button("BZaplatit")->isEnabled()) << "nothing was extended";

    ScriptExtension(1);
    Button("BProdlouzit")->click();
    EXPECT_EQ(desk->Visit().Cart()[0].prodlouzeniDo, today.addDays(2));
    {
        TTransaction other(db.DB);
        other.StartTransaction();
        db.ExecSql(other, QStringLiteral("update PUJCKY set INFO_VRACENI = 'x' where KOD_NOSIC = 5"));
        hook.Answer({TMsgResult::Ok});
        Button("BZaplatit")->click();
        other.Rollback();
    }
    EXPECT_EQ(hook.Texts().back(),
              QStringLiteral("Jiná pokladna právě ukládá platbu se stejnými nosiči, tituly "
                             "nebo zákazníkem.\rNic nebylo uloženo, zaplaťte znovu."))
        << "the loan is held at another counter";
    Reserve(5, 501, today.addDays(1));
    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.Texts().back(),
              ExtensionRefusedText(today.addDays(1)) + QStringLiteral("\rNic nebylo uloženo."));
    EXPECT_EQ(DueOf(5), today.addDays(1));
    EXPECT_EQ(Count(QStringLiteral("DOKLADY")), 0);
    EXPECT_EQ(Count(QStringLiteral("PRODLOUZENI")), 0);
}

// With the block on, a medium 20 days overdue stops lending until it is scanned back; a return
// taken back before paying is caught by the payment.
TEST_F(CounterDesk, TheBorrowingBlockLetsACustomerReturnButNotBorrow) {
    database.Exec(QStringLiteral("update PUJCKY set TERMIN_VRACENI = CURRENT_DATE - 20 where KOD_NOSIC = 4"));
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    ScriptLookup(code1);
    Scan(Button("BPujcit"), code1);
    EXPECT_EQ(desk->Visit().NewLoans(), 1) << "the block is off by default";
    Button("BZpet")->click();

    database.Exec(QStringLiteral("update SPEC_PUJCKY set BLOK_PUJCENI = 'A', BLOK_DNY = 14"));
    Scan(Child("EHledejEAN"), QStringLiteral("501"));
    hook.Answer({TMsgResult::Ok});
    Scan(Button("BPujcit"), code1);
    const QString blocked = QStringLiteral("Zákazník má nosič ") + CodeOf(4) +
                            QStringLiteral(" (Kolja) 20 dní po termínu vrácení. Dokud jej nevrátí, nelze mu "
                                           "půjčit další titul.");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{blocked});
    EXPECT_EQ(desk->Visit().NewLoans(), 0);

    ScriptLookup(CodeOf(4));
    Scan(Button("BPujcit"), CodeOf(4));
    ScriptLookup(code1);
    Scan(Button("BPujcit"), code1);
    EXPECT_EQ(desk->Visit().NewLoans(), 1) << "the medium is back";

    // The clerk clicks the returned medium's title and takes the return back.
    auto* grid = Child<TMoxGrid>("GridPujcky");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 3)).center());
    ASSERT_EQ(Button("BZpet")->text(), QStringLiteral("Zp&ět (nevracet)"));
    Button("BZpet")->click();
    hook.Answer({TMsgResult::Ok});
    Button("BZaplatit")->click();
    EXPECT_EQ(hook.Texts().back(), blocked + QStringLiteral("\rNic nebylo uloženo."));
    EXPECT_EQ(Count(QStringLiteral("PUJCKY"), QStringLiteral("KOD_NOSIC = 1")), 0);
}

} // namespace
