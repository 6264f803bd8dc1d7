#include "TitulRezervace.h"
#include "LendingFixture.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QTest>

namespace {

// The reservation dialog on a real database, driven by keys and clicks as the clerk does.
class ReservationDialog : public LendingShop {
protected:
    ReservationDialog() {
        AddTitle(3, QStringLiteral("Pelíšky"), QStringLiteral("D"), 35, 2, 1);
        database.Exec(QStringLiteral("update TITULY set EAN_KOD = '8594046123456' where KOD_TITUL = 3"));
        code1 = AddMedium(1, 3);
        AddMedium(2, 3);
        // One medium out until the day after tomorrow, the other reserved by someone else for
        // tomorrow only.
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                           "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (3, 1, 601, CURRENT_DATE - 3, "
                           "CURRENT_TIMESTAMP, 30, CURRENT_DATE + 2, 1)"));
        Reserve(3, 602, today.addDays(1));
    }
    template <typename T = QWidget> T* Child(QDialog& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Show(QDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    // Typed into a search field and ended with Enter, as a reader or the clerk does.
    void Search(QDialog& dialog, const char* field, const QString& text) {
        if (!dialog.isVisible())
            Show(dialog);
        auto* edit = Child<TMoxEdit>(dialog, field);
        edit->setFocus();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }
    static QString Text(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    static QString Label(QDialog& dialog, const char* name) {
        return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    TMemTable& Days(QDialog& dialog) {
        return *static_cast<TMemTable*>(Child<TMoxGrid>(dialog, "GridVolne")->model());
    }
    std::vector<int> Counts(QDialog& dialog) {
        std::vector<int> counts;
        for (int row = 0; row < Days(dialog).rowCount(); ++row)
            counts.push_back(Days(dialog).value(row, QStringLiteral("POCET")).toInt());
        return counts;
    }
    bool Enabled(QDialog& dialog, const char* name) { return Child(dialog, name)->isEnabled(); }
    // QTest sends a double click without its first press; a mouse sends both.
    static void DoubleClick(TMoxGrid& grid, const QModelIndex& index) {
        const QPoint at = grid.visualRect(index).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    }
    static QString Short(const QDate& day) { return QLocale().toString(day, QLocale::ShortFormat); }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    const QDate today = QDate::currentDate();
    QString code1;
};

TEST_F(ReservationDialog, AScannedCodeShowsTheTitleItsFreeDaysAndChoosesTheFirstFreeDay) {
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    for (const char* name : {"ENazev", "GridVolne", "BPredchozich", "BVybrat", "ETermin", "EPocetDni"})
        EXPECT_FALSE(Enabled(dialog, name)) << name;
    EXPECT_FALSE(Enabled(dialog, "BRezervovat"));
    EXPECT_FALSE(Enabled(dialog, "BZrusit"));
    EXPECT_EQ(Child<TMoxButton>(dialog, "BPredchozich")->text(), QStringLiteral("Předchozích 14 dní"));
    EXPECT_EQ(Child<TMoxButton>(dialog, "BNasledujicich")->text(), QStringLiteral("Následujících 14 dní"));

    Search(dialog, "EKod", code1);
    EXPECT_TRUE(dialog.isVisible()) << "Enter after a code searches, it does not reserve";
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Text(dialog, "EKod"), QString());
    EXPECT_EQ(Text(dialog, "ENazev"), QStringLiteral("Pelíšky"));
    EXPECT_EQ(Text(dialog, "ENazevOrig"), QStringLiteral("Pelíšky (orig.)"));
    EXPECT_TRUE(Child<TMoxCheckBox>(dialog, "ChTypDVD")->isChecked());
    EXPECT_EQ(Text(dialog, "ECelkem"), QStringLiteral("2"));
    EXPECT_EQ(Text(dialog, "EStavem"), QStringLiteral("1"));

    std::vector<int> expected(kWindowDays, 2);
    expected[0] = 1;
    expected[1] = 0;
    EXPECT_EQ(Counts(dialog), expected);
    EXPECT_EQ(Days(dialog).value(0, QStringLiteral("TERMIN_PUJCENI")).toDate(), today);
    EXPECT_EQ(Days(dialog).value(0, QStringLiteral("TERMIN_VRACENI")).toDate(), today.addDays(1));
    EXPECT_EQ(Days(dialog).currentRow(), 0);
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today)) << "the first free day is chosen";
    EXPECT_EQ(Child<TMoxNumEdit>(dialog, "EPocetDni")->valueInt(), 1) << "every day is charged";
    EXPECT_TRUE(Enabled(dialog, "BRezervovat"));
    EXPECT_TRUE(Enabled(dialog, "BVybrat"));

    // Tomorrow has nothing free: neither Enter nor "Vybrat termín" takes it.
    auto* grid = Child<TMoxGrid>(dialog, "GridVolne");
    grid->setFocus();
    Days(dialog).setCurrentRow(1);
    EXPECT_FALSE(Enabled(dialog, "BVybrat"));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today));
    EXPECT_TRUE(dialog.isVisible());

    Days(dialog).setCurrentRow(2);
    EXPECT_TRUE(Enabled(dialog, "BVybrat"));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today.addDays(2)));
    auto* days = Child<TMoxNumEdit>(dialog, "EPocetDni");
    EXPECT_TRUE(days->hasFocus());
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("4"));
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), TFTitulRezervace::kRezervovat) << "Enter in the days reserves";

    const TReservationChoice choice = dialog.Choice();
    EXPECT_EQ(choice.kodTitul, 3);
    EXPECT_EQ(choice.typNosice, QStringLiteral("D"));
    EXPECT_EQ(choice.nazevCesky, QStringLiteral("Pelíšky"));
    EXPECT_EQ(choice.eanKod, QStringLiteral("8594046123456"));
    EXPECT_EQ(choice.terminPujceni, today.addDays(2));
    EXPECT_EQ(choice.terminVraceni, today.addDays(6));
    EXPECT_EQ(choice.pocetCelkem, 2);
}

// The clerk reads the wrong title's label, then the right one, with the focus in the days.
TEST_F(ReservationDialog, ACodeScannedIntoTheDaysIsAnotherSearchNeverALength) {
    AddTitle(4, QStringLiteral("Kolja"), QStringLiteral("V"), 20, 1, 1);
    const QString kolja = AddMedium(4, 4);
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    Search(dialog, "EKod", code1);
    auto* days = Child<TMoxNumEdit>(dialog, "EPocetDni");
    days->setFocus();
    days->selectAll();
    QTest::keyClicks(days, kolja);
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "nothing reserved";
    EXPECT_EQ(Text(dialog, "ENazev"), QStringLiteral("Kolja"));
    EXPECT_EQ(days->valueInt(), 1);
    days->setFocus();
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), TFTitulRezervace::kRezervovat);
    EXPECT_EQ(dialog.Choice().kodTitul, 4);
    EXPECT_EQ(dialog.Choice().terminVraceni, today.addDays(1));
}

TEST_F(ReservationDialog, DaysGoneByAndDaysWithNothingFreeAreGreyAndCannotBeChosen) {
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    Search(dialog, "EKod", QStringLiteral("2"));
    auto* grid = Child<TMoxGrid>(dialog, "GridVolne");
    grid->resize(400, 600);
    grid->clearSelection();
    grid->setCurrentIndex({});
    // The darkest pixel of a row's text: black for a day that can be chosen, grey otherwise.
    const auto darkest = [&](int row) {
        const QImage shot = grid->viewport()->grab().toImage();
        int dark = 255;
        const QRect cell = grid->visualRect(Days(dialog).index(row, 2));
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                dark = std::min(dark, qGray(shot.pixel(x * shot.width() / grid->viewport()->width(),
                                                       y * shot.height() / grid->viewport()->height())));
        return dark;
    };
    EXPECT_LT(darkest(0), 80);
    EXPECT_GE(darkest(1), 110) << "nothing free tomorrow";
    EXPECT_LT(darkest(1), 160);
    EXPECT_LT(darkest(2), 80);

    Child<TMoxButton>(dialog, "BPredchozich")->click();
    EXPECT_EQ(Days(dialog).value(0, QStringLiteral("TERMIN_PUJCENI")).toDate(), today.addDays(-14));
    EXPECT_FALSE(Enabled(dialog, "BRezervovat")) << "moving the window drops the choice";
    EXPECT_EQ(Days(dialog).currentRow(), 0);
    grid->clearSelection();
    grid->setCurrentIndex({});
    for (int row = 0; row < kWindowDays; ++row)
        EXPECT_GE(darkest(row), 110) << "a day gone by, row " << row;
    for (int row = 0; row < kWindowDays; ++row) {
        Days(dialog).setCurrentRow(row);
        EXPECT_FALSE(Enabled(dialog, "BVybrat")) << row;
    }
    DoubleClick(*grid, Days(dialog).index(13, 0));
    EXPECT_FALSE(Enabled(dialog, "BRezervovat"));

    Child<TMoxButton>(dialog, "BNasledujicich")->click();
    Child<TMoxButton>(dialog, "BNasledujicich")->click();
    EXPECT_EQ(Days(dialog).value(0, QStringLiteral("TERMIN_PUJCENI")).toDate(), today.addDays(14));
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today.addDays(14))) << "the first free day of the new window";
    EXPECT_TRUE(Enabled(dialog, "BRezervovat"));
    DoubleClick(*grid, Days(dialog).index(3, 0));
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today.addDays(17))) << "a double click chooses";
}

TEST_F(ReservationDialog, ChangingAReservationKeepsItsTitleDayAndLengthAndItsOwnDaysCountAsFree) {
    database.Exec(QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI) "
                                 "values (3, 501, CURRENT_DATE + 3, CURRENT_DATE + 6)"));
    TFTitulRezervace dialog(context);
    // In the order the desk gives them.
    dialog.PresetChange(today.addDays(3), 3);
    dialog.SearchTitle(3);
    dialog.SetCustomer(501);
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Text(dialog, "ENazev"), QStringLiteral("Pelíšky"));
    std::vector<int> expected(kWindowDays, 2);
    expected[0] = 1;
    expected[1] = 0;
    EXPECT_EQ(Counts(dialog), expected) << "the customer's own reservation takes nothing";
    EXPECT_EQ(Text(dialog, "ETermin"), Short(today.addDays(3)));
    EXPECT_EQ(Child<TMoxNumEdit>(dialog, "EPocetDni")->valueInt(), 3);
    EXPECT_FALSE(Enabled(dialog, "BRezervovat"));
    EXPECT_TRUE(Enabled(dialog, "BZrusit"));
    EXPECT_FALSE(Enabled(dialog, "BHledej"));
    EXPECT_TRUE(Child<TMoxEdit>(dialog, "EKod")->isReadOnly());
    EXPECT_TRUE(Child<TMoxEdit>(dialog, "ENazevHledej")->isReadOnly());

    Show(dialog);
    auto* code = Child<TMoxEdit>(dialog, "EKod");
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter in the locked search does nothing";

    auto* days = Child<TMoxNumEdit>(dialog, "EPocetDni");
    days->setFocus();
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("5"));
    EXPECT_TRUE(Enabled(dialog, "BRezervovat")) << "editing the length is a change";
    const TReservationChoice choice = dialog.Choice();
    EXPECT_EQ(choice.terminPujceni, today.addDays(3));
    EXPECT_EQ(choice.terminVraceni, today.addDays(8));

    Child<TMoxButton>(dialog, "BZrusit")->click();
    EXPECT_EQ(dialog.result(), TFTitulRezervace::kZrusitRezervaci);
}

TEST_F(ReservationDialog, ChangingAReservationOfATitleWithEveryMediumRetiredWarnsWithMinusOne) {
    AddTitle(6, QStringLiteral("Kolja"), QStringLiteral("D"), 30, 1, 0);
    AddMedium(60, 6, true);
    TFTitulRezervace dialog(context);
    dialog.PresetChange(today.addDays(1), 2);
    hook.Answer({TMsgResult::Ok});
    dialog.SearchTitle(6);
    dialog.SetCustomer(501);
    ASSERT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Žádný titul s EAN kódem / nosič s CN kódem -1 nebyl nalezen.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_FALSE(Enabled(dialog, "GridVolne"));
    EXPECT_FALSE(Enabled(dialog, "BRezervovat"));
    EXPECT_TRUE(Enabled(dialog, "BZrusit")) << "the reservation can still be cancelled";
}

TEST_F(ReservationDialog, WalkingANameSearchStepsThroughOneRowPerMedium) {
    AddMedium(5, 3);
    AddMedium(6, 3, true);
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    EXPECT_FALSE(Child(dialog, "BPredchozi")->isVisibleTo(&dialog));
    Search(dialog, "ENazevHledej", QStringLiteral("pelíš"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Label(dialog, "LFiltr"), QStringLiteral("Několik záznamů odpovídá filtru \"pelíš\"."));
    EXPECT_EQ(Label(dialog, "LPozice"), QStringLiteral("1 / 3"));
    EXPECT_EQ(Text(dialog, "ENazevHledej"), QString());
    EXPECT_EQ(Text(dialog, "ENazev"), QStringLiteral("Pelíšky"));
    EXPECT_EQ(Counts(dialog)[1], 0);
    auto* previous = Child<TMoxButton>(dialog, "BPredchozi");
    auto* next = Child<TMoxButton>(dialog, "BNasledujici");
    EXPECT_TRUE(previous->isVisible());
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    next->click();
    EXPECT_EQ(Label(dialog, "LPozice"), QStringLiteral("2 / 3"));
    EXPECT_TRUE(previous->isEnabled());
    next->click();
    EXPECT_EQ(Label(dialog, "LPozice"), QStringLiteral("3 / 3"));
    EXPECT_FALSE(next->isEnabled());
    previous->click();
    EXPECT_EQ(Label(dialog, "LPozice"), QStringLiteral("2 / 3"));

    Search(dialog, "ENazevHledej", QStringLiteral("Kolja"));
    EXPECT_EQ(Label(dialog, "LFiltr"), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_EQ(Label(dialog, "LPozice"), QStringLiteral("0 / 0"));
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(Text(dialog, "ENazev"), QStringLiteral("Pelíšky")) << "the title found before stays";
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(ReservationDialog, ApostrophesInEitherSearchFieldFindNothingWithoutADatabaseError) {
    TFTitulRezervace dialog(context);
    dialog.SetCustomer(501);
    hook.Answer({TMsgResult::Ok});
    Search(dialog, "EKod", QStringLiteral("12'4567"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Žádný titul s EAN kódem / nosič s CN kódem 12'4567 nebyl nalezen.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    hook.Clear();
    Child<TMoxEdit>(dialog, "EKod")->clear();
    Search(dialog, "ENazevHledej", QStringLiteral("d'Artagnan"));
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Label(dialog, "LFiltr"), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ReservationDialog, ClosingLeavesWithTheCloseResult) {
    TFTitulRezervace dialog(context);
    Show(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), TFTitulRezervace::kZavrit);
}

} // namespace
