#include "LendingFixture.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "NosicPujceni.h"
#include "NosicReklamace.h"
#include "NosicVraceni.h"
#include "RezervJe.h"
#include "RezervPujcit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

// The lookup dialogs on a real database, driven by keys as the barcode reader sends them.
class LookupDialogs : public LendingShop {
protected:
    LookupDialogs() {
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 2);
        AddTitle(4, QStringLiteral("Vesničko má středisková"), QStringLiteral("V"), 20, 1, 0);
        code1 = AddMedium(1, 3);
        AddMedium(2, 3);
        AddMedium(4, 4);
        Lend(4, 4, 501);
        database.Exec(QStringLiteral("insert into SPEC_SLEVY (PUJCENO, SLEVA) values (10, 2)"));
    }
    template <typename T = QWidget> T* Child(QDialog& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // What a barcode reader does: the code's characters, then Enter.
    void Scan(QDialog& dialog, const QString& code) {
        if (!dialog.isVisible()) {
            dialog.show();
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        }
        auto* field = Child<TMoxEdit>(dialog, "ENosic");
        field->setFocus();
        QTest::keyClicks(field, code);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Key events carrying the text, as a keyboard sends them; QTest knows no letters beyond ASCII.
    static void Type(QWidget* field, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
    // A reader types wherever the focus is.
    static void ScanHere(const QString& code) {
        QWidget* field = QApplication::focusWidget();
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(field, code);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QString CodeOf(int kodNosic) {
        return database
            .Scalar(QStringLiteral("select EAN_KOD from NOSICE where KOD_NOSIC = %1").arg(kodNosic))
            .toString();
    }
    static QString Text(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    QString code1;
};

TEST_F(LookupDialogs, ScanningAMediumToLendShowsItsTitlePriceDiscountAndOffer) {
    TFNosicPujceni dialog(context);
    dialog.SetCustomer(501, TCustomerPrices{}, 10);
    EXPECT_FALSE(Child<TMoxButton>(dialog, "BPotvrdit")->isEnabled());
    Scan(dialog, code1);

    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "Enter after a code searches, it does not lend";
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Text(dialog, "ENosic"), QString()) << "the field is ready for the next code";
    EXPECT_EQ(Text(dialog, "ENazevCesky"), QStringLiteral("Pelíšky"));
    EXPECT_EQ(Text(dialog, "ENazevOrig"), QStringLiteral("Pelíšky (orig.)"));
    EXPECT_TRUE(Child<TMoxCheckBox>(dialog, "ChTypDVD")->isChecked());
    EXPECT_FALSE(Child<TMoxCheckBox>(dialog, "ChTypVHS")->isChecked());
    EXPECT_EQ(Text(dialog, "ECena"), QStringLiteral("35,00"));
    EXPECT_EQ(Text(dialog, "ESleva"), QStringLiteral("2,00"));
    EXPECT_TRUE(Child<TMoxLabel>(dialog, "LSlevaZnak")->isVisible());
    EXPECT_FALSE(Child<TMoxLabel>(dialog, "LVip")->isVisible());
    EXPECT_EQ(Text(dialog, "ECelkem"), QStringLiteral("2"));
    auto* days = Child<TMoxNumEdit>(dialog, "EPocetDni");
    EXPECT_TRUE(days->isEnabled());
    EXPECT_EQ(days->valueInt(), 1) << "every day is charged in a new shop";
    EXPECT_TRUE(days->hasFocus());
    EXPECT_EQ(dialog.Medium().kodNosic, 1);
    EXPECT_EQ(dialog.CenaPujcka(), 33);
    EXPECT_EQ(dialog.PocetDni(), 1);

    QTest::keyClicks(days, QStringLiteral("5"));
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Enter in the days lends";
    EXPECT_EQ(dialog.PocetDni(), 5);
}

TEST_F(LookupDialogs, AVipCustomerPaysTheVipPriceWithoutDiscountWhileTheMarkerShows) {
    TFNosicPujceni dialog(context);
    dialog.SetCustomer(501, TCustomerPrices{true, 40, 25}, 12);
    Scan(dialog, QStringLiteral("2"));
    EXPECT_EQ(Text(dialog, "ECena"), QStringLiteral("40,00"));
    EXPECT_EQ(Text(dialog, "ESleva"), QStringLiteral("0,00"));
    EXPECT_TRUE(Child<TMoxLabel>(dialog, "LSlevaZnak")->isVisible());
    EXPECT_TRUE(Child<TMoxLabel>(dialog, "LVip")->isVisible());
    EXPECT_EQ(dialog.CenaPujcka(), 40);
    Scan(dialog, QStringLiteral("4"));
    EXPECT_EQ(Text(dialog, "ECena"), QStringLiteral("25,00")) << "VHS";
    EXPECT_EQ(dialog.CenaPujcka(), 25);
}

TEST_F(LookupDialogs, ACodeNotFoundWarnsAndKeepsTheMediumFoundBefore) {
    TFNosicPujceni dialog(context);
    dialog.SetCustomer(501, TCustomerPrices{}, 0);
    EXPECT_FALSE(Child<TMoxLabel>(dialog, "LSlevaZnak")->isVisible());
    hook.Answer({TMsgResult::Ok});
    Scan(dialog, QStringLiteral("abc"));
    ASSERT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Žádný nosič s CN kódem abc nebyl nalezen.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_FALSE(Child<TMoxButton>(dialog, "BPotvrdit")->isEnabled());

    Scan(dialog, QStringLiteral("1"));
    hook.Clear();
    hook.Answer({TMsgResult::Ok});
    Scan(dialog, QStringLiteral("12'4567"));
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Žádný nosič s CN kódem 12'4567 nebyl nalezen.")});
    EXPECT_TRUE(Child<TMoxButton>(dialog, "BPotvrdit")->isEnabled());
    EXPECT_EQ(dialog.Medium().kodNosic, 1);
    EXPECT_EQ(Text(dialog, "ENazevCesky"), QStringLiteral("Pelíšky"));
}

TEST_F(LookupDialogs, AFreeDayFullyReservedByOthersLocksTheNumberOfDays) {
    Charge("NNNNNNN");
    const QDate tomorrow = QDate::currentDate().addDays(1);
    Reserve(3, 601, tomorrow);
    Reserve(3, 602, tomorrow);
    Reserve(3, 501, tomorrow.addDays(1)); // the customer's own reservation never stands in the way
    QStringList noticeTexts;
    hook.Script([&](QDialog& notice) {
        for (const QLabel* label : notice.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                noticeTexts << label->text();
        notice.accept();
    });
    TFNosicPujceni dialog(context);
    dialog.SetCustomer(501, TCustomerPrices{}, 0);
    Scan(dialog, QStringLiteral("1"));
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFRezervUpozor")});
    EXPECT_EQ(noticeTexts,
              (QStringList{QStringLiteral("Pozor! Titul je následující dny rezervován."),
                           QStringLiteral("Nosič nelze půjčit na dny, kdy se neplatí půjčovné.")}));
    auto* days = Child<TMoxNumEdit>(dialog, "EPocetDni");
    EXPECT_FALSE(days->isEnabled());
    EXPECT_EQ(dialog.PocetDni(), 1) << "up to the fully reserved day";
    EXPECT_TRUE(Child<TMoxButton>(dialog, "BPotvrdit")->isEnabled());
}

TEST_F(LookupDialogs, WithEveryDayFreeAndNothingReservedTheOfferIsAWeek) {
    Charge("NNNNNNN");
    TFNosicPujceni dialog(context);
    dialog.SetCustomer(501, TCustomerPrices{}, 0);
    Scan(dialog, QStringLiteral("1"));
    EXPECT_TRUE(hook.dialogsOpened.empty());
    EXPECT_EQ(dialog.PocetDni(), 7);
    EXPECT_TRUE(Child<TMoxNumEdit>(dialog, "EPocetDni")->isEnabled());
}

TEST_F(LookupDialogs, TheReturnDialogFindsAMediumOnLoanAndTakesANote) {
    TFNosicVraceni dialog(context);
    hook.Answer({TMsgResult::Ok});
    Scan(dialog, QStringLiteral("1"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Žádný nosič s CN kódem 1 nebyl nalezen.")})
        << "a medium on the shelf does not come back";
    EXPECT_FALSE(Child<TMoxEdit>(dialog, "EZprava")->isEnabled());

    Scan(dialog, QStringLiteral("000004"));
    EXPECT_TRUE(Child<TMoxButton>(dialog, "BPotvrdit")->isEnabled());
    auto* note = Child<TMoxEdit>(dialog, "EZprava");
    EXPECT_TRUE(note->isEnabled());
    EXPECT_TRUE(note->hasFocus());
    EXPECT_TRUE(Child<TMoxCheckBox>(dialog, "ChTypVHS")->isChecked());
    EXPECT_EQ(Text(dialog, "EStavem"), QStringLiteral("0"));
    EXPECT_EQ(dialog.Medium().kodZak, 501);
    EXPECT_FALSE(dialog.Medium().retired);
    Type(note, QStringLiteral("obal prasklý"));
    EXPECT_EQ(dialog.Zprava(), QStringLiteral("obal prasklý"));
}

TEST_F(LookupDialogs, AComplaintNeedsAReasonThatIsNotOnlyBlanks) {
    TFNosicReklamace dialog(context);
    auto* confirm = Child<TMoxButton>(dialog, "BPotvrdit");
    EXPECT_EQ(confirm->text(), QStringLiteral("&Reklamovat"));
    Scan(dialog, QStringLiteral("4"));
    auto* reason = Child<TMoxEdit>(dialog, "EDuvod");
    EXPECT_TRUE(reason->hasFocus());
    EXPECT_FALSE(confirm->isEnabled());
    QTest::keyClicks(reason, QStringLiteral("   "));
    EXPECT_FALSE(confirm->isEnabled());
    Type(reason, QStringLiteral("nejde přehrát"));
    EXPECT_TRUE(confirm->isEnabled());
    reason->clear();
    EXPECT_FALSE(confirm->isEnabled());
    Type(reason, QStringLiteral("zasekává se"));
    confirm->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Duvod(), QStringLiteral("zasekává se"));
    EXPECT_EQ(dialog.Medium().kodNosic, 4);
}

// After a find the focus is in the dialog's own field, and the next label is scanned there.
TEST_F(LookupDialogs, ASecondScanIsANewSearchAndNeverTheDataOfTheFieldItLandsIn) {
    Lend(2, 3, 502);
    {
        TFNosicPujceni lending(context);
        lending.SetCustomer(501, TCustomerPrices{}, 0);
        Scan(lending, code1);
        ScanHere(CodeOf(4));
        EXPECT_EQ(lending.result(), QDialog::Rejected) << "the second scan lent nothing";
        EXPECT_EQ(lending.Medium().kodNosic, 4);
        EXPECT_EQ(Text(lending, "ENazevCesky"), QStringLiteral("Vesničko má středisková"));
        EXPECT_EQ(Text(lending, "EPocetDni"), QStringLiteral("1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(lending.result(), QDialog::Accepted);
        EXPECT_EQ(lending.PocetDni(), 1);
    }
    {
        TFNosicVraceni giveBack(context);
        Scan(giveBack, CodeOf(4));
        ScanHere(CodeOf(2));
        EXPECT_EQ(giveBack.result(), QDialog::Rejected);
        EXPECT_EQ(giveBack.Medium().kodNosic, 2);
        EXPECT_EQ(giveBack.Medium().kodZak, 502);
        EXPECT_EQ(giveBack.Zprava(), QString());
        // A number the clerk types by hand is a note like any other.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("777123456"), Qt::NoModifier, 80);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(giveBack.result(), QDialog::Accepted);
        EXPECT_EQ(giveBack.Zprava(), QStringLiteral("777123456"));
    }
    TFNosicReklamace complaint(context);
    Scan(complaint, CodeOf(4));
    Type(QApplication::focusWidget(), QStringLiteral("skáče "));
    ScanHere(CodeOf(2));
    EXPECT_EQ(complaint.result(), QDialog::Rejected) << "nothing refunded";
    EXPECT_EQ(complaint.Medium().kodNosic, 2);
    EXPECT_EQ(complaint.Duvod(), QString()) << "the reason belonged to the medium before";
    EXPECT_FALSE(Child<TMoxButton>(complaint, "BPotvrdit")->isEnabled());
}

TEST_F(LookupDialogs, TheReservationNoticesSayWhatStandsInTheWay) {
    TFRezervPujcit ask;
    EXPECT_EQ(ask.windowTitle(), QStringLiteral("Titul je rezervován"));
    ask.show();
    Child<TMoxButton>(ask, "BPujcit")->click();
    EXPECT_EQ(ask.result(), TFRezervPujcit::Pujcit);
    Child<TMoxButton>(ask, "BRezervovat")->click();
    EXPECT_EQ(ask.result(), TFRezervPujcit::Rezervovat);
    Child<TMoxButton>(ask, "BZpet")->click();
    EXPECT_EQ(ask.result(), QDialog::Rejected);

    const TNextReservation reservation{QStringLiteral("Jan"), QStringLiteral("Novák"),
                                       QStringLiteral("0101261200000501"), QDate(2026, 12, 10),
                                       QDate(2026, 12, 12)};
    TFRezervJe aside(reservation, true);
    aside.show();
    EXPECT_EQ(Text(aside, "EPrijmeni"), QStringLiteral("Novák"));
    EXPECT_EQ(Text(aside, "ETerminPujceni"), QStringLiteral("10.12.26")) << "the short date format";
    EXPECT_EQ(Text(aside, "ETerminVraceni"), QStringLiteral("12.12.26"));
    EXPECT_TRUE(Child<QLabel>(aside, "LStranou")->isVisible());
    TFRezervJe later(reservation, false);
    later.show();
    EXPECT_FALSE(Child<QLabel>(later, "LStranou")->isVisible());
}

} // namespace
