#include "HostileInput.h"
#include "HostileField.h"
#include "LendingFixture.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "NosicPujceni.h"
#include "NosicReklamace.h"
#include "NosicVraceni.h"
#include "Pujcky.h"
#include "TitulRezervace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

#include <functional>
#include <memory>

namespace {

const QString kNotStorable = QStringLiteral("který databáze neumí uložit");

// A search or a scan either finds nothing, which the clerk is told, or refuses a character the
// database cannot hold.
void ExpectOnlyNotFound(const TDialogHook& hook) {
    EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
    for (const QString& text : hook.Texts())
        EXPECT_TRUE(text.contains(QStringLiteral("nebyl nalezen")) || text.contains(kNotStorable))
            << text.toStdString();
}

// The counter's shop: one customer with an apostrophe in the name, one title with two media.
class CounterHostileInput : public LendingShop {
protected:
    CounterHostileInput() {
        database.LogInAdmin(context);
        context.CurrentUser.Jmeno = QStringLiteral("Správce");
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, VIP) "
                           "values (501, '0101261200000501', 'Jan', 'O''Brien', 0, 'N')"));
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 1);
        AddMedium(1, 3);
        AddMedium(2, 3);
    }

    std::unique_ptr<TFPujcky> OpenCounter() {
        auto desk = std::make_unique<TFPujcky>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
        return desk;
    }
    static void PressEnter(QLineEdit* field) { QTest::keyClick(field, Qt::Key_Return); }
    // Medium 2 out with customer 501 since yesterday, due in two days: its return is on time.
    void LendMediumTwo() {
        database.Exec(QStringLiteral("delete from PUJCKY"));
        database.Exec(QStringLiteral("delete from REKLAMACE"));
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (3, 2, 501, CURRENT_DATE - 1, "
                           "CURRENT_TIMESTAMP, 35, CURRENT_DATE + 2, 1)"));
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
};

TEST_F(CounterHostileInput, TheCountersSearchFieldsTakeEveryEntryWithoutADatabaseError) {
    auto desk = OpenCounter();
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* search : {"EHledejEAN", "EHledejPrijmeni"}) {
            SCOPED_TRACE(search);
            auto* field = desk->findChild<QLineEdit*>(QString::fromLatin1(search));
            PasteOver(field, input.text);
            hook.Clear();
            PressEnter(field);
            ExpectOnlyNotFound(hook);
            for (const char* name : {"EHledejEAN", "EHledejPrijmeni"})
                desk->findChild<QLineEdit*>(QString::fromLatin1(name))->clear();
        }
    }
    desk->LeaveDesk();
}

TEST_F(CounterHostileInput, TheScanFieldsOfTheLookupDialogsTakeEveryEntryWithoutADatabaseError) {
    const std::vector<std::function<std::unique_ptr<QDialog>()>> dialogs = {
        [this] { return std::make_unique<TFNosicPujceni>(context); },
        [this] { return std::make_unique<TFNosicVraceni>(context); },
        [this] { return std::make_unique<TFNosicReklamace>(context); },
    };
    for (const auto& make : dialogs) {
        const std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        SCOPED_TRACE(dialog->metaObject()->className());
        auto* scan = dialog->findChild<QLineEdit*>(QStringLiteral("ENosic"));
        ASSERT_NE(scan, nullptr);
        for (const THostileInput& input : HostileInputs()) {
            SCOPED_TRACE(input.name);
            PasteOver(scan, input.text);
            hook.Clear();
            PressEnter(scan);
            ExpectOnlyNotFound(hook);
            scan->clear();
        }
    }
}

TEST_F(CounterHostileInput, BothSearchFieldsOfTheReservationDialogTakeEveryEntryWithoutADatabaseError) {
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    dialog.show();
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* search : {"EKod", "ENazevHledej"}) {
            SCOPED_TRACE(search);
            auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(search));
            PasteOver(field, input.text);
            hook.Clear();
            PressEnter(field);
            ExpectOnlyNotFound(hook);
            for (const char* name : {"EKod", "ENazevHledej"})
                dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->clear();
        }
    }
}

// The note of a return and the reason of a complaint are written by the payment of the visit.
TEST_F(CounterHostileInput, TheReturnNoteAndTheComplaintReasonAreStoredAsHeldOrRefusedWithTheVisitKept) {
    struct TNoteField {
        const char* button;
        const char* edit;
        QString stored; // the column, read after the payment
    };
    const TNoteField notes[] = {
        {"BVratit", "EZprava", QStringLiteral("select INFO_VRACENI from PUJCKY where KOD_NOSIC = 2")},
        {"BReklamace", "EDuvod", QStringLiteral("select DUVOD from REKLAMACE where KOD_NOSIC = 2")},
    };
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const TNoteField& note : notes) {
            SCOPED_TRACE(note.edit);
            LendMediumTwo();
            auto desk = OpenCounter();
            auto* customer = desk->findChild<QLineEdit*>(QStringLiteral("EHledejEAN"));
            customer->setFocus();
            QTest::keyClicks(customer, QStringLiteral("501"));
            PressEnter(customer);
            ASSERT_EQ(desk->CustomerKey(), 501);

            QString held;
            bool confirmed = false;
            hook.Clear();
            hook.Script([&](QDialog& dialog) {
                auto* scan = dialog.findChild<QLineEdit*>(QStringLiteral("ENosic"));
                scan->setFocus();
                QTest::keyClicks(scan, QStringLiteral("2"));
                PressEnter(scan);
                auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(note.edit));
                PasteOver(field, input.text);
                held = field->text();
                auto* confirm = dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"));
                confirmed = confirm->isEnabled();
                if (confirmed)
                    confirm->click();
                else
                    dialog.reject();
            });
            desk->findChild<TMoxButton*>(QString::fromLatin1(note.button))->click();
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            // A complaint needs a reason that is not only blanks.
            if (!confirmed) {
                EXPECT_TRUE(held.trimmed().isEmpty());
                EXPECT_FALSE(desk->findChild<TMoxButton*>(QStringLiteral("BZaplatit"))->isEnabled());
                continue;
            }
            // A complaint pays the rent back: the payment dialog closes as the clerk leaves it.
            hook.Script([](QDialog& dialog) { dialog.reject(); });
            desk->findChild<TMoxButton*>(QStringLiteral("BZaplatit"))->click();
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            const QVariant stored = database.Scalar(note.stored);
            if (input.storable) {
                EXPECT_EQ(hook.messages.size(), 0U) << hook.Texts().front().toStdString();
                EXPECT_EQ(stored.toString(), OneLineStored(held));
                EXPECT_EQ(
                    database.Scalar(QStringLiteral("select count(*) from PUJCKY where D_VRACENI is null"))
                        .toInt(),
                    0);
            } else {
                ASSERT_EQ(hook.messages.size(), 1U);
                EXPECT_TRUE(hook.messages[0].text.contains(kNotStorable))
                    << hook.messages[0].text.toStdString();
                EXPECT_EQ(
                    database.Scalar(QStringLiteral("select count(*) from PUJCKY where D_VRACENI is null"))
                        .toInt(),
                    1);
                EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from REKLAMACE")).toInt(), 0);
                EXPECT_TRUE(desk->findChild<TMoxButton*>(QStringLiteral("BZaplatit"))->isEnabled())
                    << "the visit stays for paying again";
            }
            hook.Clear();
        }
    }
}

// The number of days takes numbers only: a pasted text that is no number would read as one day.
TEST_F(CounterHostileInput, TheNumberOfDaysRefusesEveryEntryThatIsNoNumber) {
    TFNosicPujceni lending(context);
    lending.show();
    auto* scan = lending.findChild<QLineEdit*>(QStringLiteral("ENosic"));
    scan->setFocus();
    QTest::keyClicks(scan, QStringLiteral("1"));
    PressEnter(scan);
    TFTitulRezervace reservation(context);
    reservation.SetCustomer(501);
    reservation.show();
    auto* code = reservation.findChild<QLineEdit*>(QStringLiteral("EKod"));
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("1"));
    PressEnter(code);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&lending, &reservation}) {
        SCOPED_TRACE(dialog->metaObject()->className());
        auto* days = dialog->findChild<QLineEdit*>(QStringLiteral("EPocetDni"));
        ASSERT_NE(days, nullptr);
        ASSERT_TRUE(days->isEnabled()) << "a title is chosen, so the clerk can type the days";
        PasteOver(days, QStringLiteral("3"));
        for (const THostileInput& input : HostileInputs()) {
            SCOPED_TRACE(input.name);
            PasteOver(days, input.text);
            EXPECT_EQ(days->text(), QStringLiteral("3"));
        }
    }
}

// The filter repeats the name searched for as the clerk typed it, also when it looks like markup.
TEST_F(CounterHostileInput, TheReservationFilterShowsAMarkedUpNameAsTyped) {
    AddTitle(7, QStringLiteral("<b>Kolja</b> &amp; spol."), QStringLiteral("D"), 30, 1, 1);
    AddMedium(7, 7);
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("ENazevHledej"));
    PasteOver(name, QStringLiteral("<b>kolja</b> &amp;"));
    PressEnter(name);
    auto* filter = dialog.findChild<QLabel*>(QStringLiteral("LFiltr"));
    EXPECT_EQ(filter->text(), QStringLiteral("Několik záznamů odpovídá filtru \"<b>kolja</b> &amp;\"."));
    // The label wraps its lines, so it is read as text or as markup by its format alone.
    EXPECT_TRUE(filter->textFormat() == Qt::PlainText || !Qt::mightBeRichText(filter->text()));
}

} // namespace
