#include "HostileInput.h"
#include "DocumentsFixture.h"
#include "Doklady.h"
#include "HostileField.h"
#include "Hotovost.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "Trzba.h"

#include <memory>

namespace {

// Every text field of the cash desks with whatever a clerk manages to paste into it.
class CashHostileInput : public DocumentsShop {
protected:
    CashHostileInput() { CloseYesterday(); }
    ~CashHostileInput() override {
        if (takings)
            takings->LeaveDesk();
        if (documents)
            documents->LeaveDesk();
    }
    void OpenTakings() {
        takings = std::make_unique<TFTrzba>(context);
        takings->resize(1000, 700);
        takings->show();
        takings->ShowDesk();
        QApplication::setActiveWindow(takings.get());
    }
    template <typename T> T* Child(QWidget* parent, const char* name) {
        T* child = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    int Movements() { return database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(); }
    QVariant LastDescription() {
        return database.Scalar(QStringLiteral("select first 1 POPIS from HOTOVOST order by DATUM desc"));
    }

    std::unique_ptr<TFTrzba> takings;
    std::unique_ptr<TFDoklady> documents;
};

TEST_F(CashHostileInput, TheCashMovementsDescriptionStoresWhatWasPastedOrSaysWhyNot) {
    OpenTakings();
    auto* popis = Child<TMoxEdit>(takings.get(), "EPopis");
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        hook.Clear();
        const int before = Movements();
        Type(Child<TMoxNumEdit>(takings.get(), "EOdvod"), QStringLiteral("10"));
        PasteOver(popis, entry.text);
        const QString shown = popis->text();
        EXPECT_EQ(shown, entry.text.left(popis->maxLength())) << "the field takes what fits its column";
        Child<TMoxButton>(takings.get(), "BUlozit")->click();

        EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
        if (entry.storable) {
            ASSERT_EQ(Movements(), before + 1);
            EXPECT_EQ(LastDescription().toString(), OneLineStored(shown));
        } else {
            EXPECT_TRUE(RefusesCodePage(hook));
            EXPECT_EQ(Movements(), before);
            EXPECT_EQ(popis->text(), shown) << "the clerk's text stays for a correction";
            EXPECT_EQ(Child<TMoxNumEdit>(takings.get(), "EOdvod")->value(), 10);
            popis->clear();
        }
    }
}

TEST_F(CashHostileInput, AmountFieldsRefuseAPasteThatIsNoNumberAndKeepTheTypedAmount) {
    OpenTakings();
    for (const char* name : {"EOdvod", "EDodat"}) {
        auto* amount = Child<TMoxNumEdit>(takings.get(), name);
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(name) + ": " + entry.name);
            hook.Clear();
            Type(amount, QStringLiteral("25"));
            PasteOver(amount, entry.text);
            EXPECT_EQ(amount->text(), QStringLiteral("25"));
            EXPECT_EQ(amount->value(), 25);
            EXPECT_TRUE(hook.messages.empty());
            Type(amount, QString());
        }
    }
    EXPECT_EQ(Movements(), 0);
}

TEST_F(CashHostileInput, TheDocumentsYearKeepsAYearAndTheListStays) {
    documents = std::make_unique<TFDoklady>(context);
    documents->resize(1000, 700);
    documents->show();
    documents->ShowDesk();
    QTest::mouseClick(Child<TMoxCheckBox>(documents.get(), "ChObdRok"), Qt::LeftButton, {}, QPoint(5, 5));
    auto* year = Child<TMoxNumEdit>(documents.get(), "ERok");
    const QString shown = year->text();
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        PasteOver(year, entry.text);
        EXPECT_EQ(year->text(), shown);
    }
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(CashHostileInput, TheHandedOverAmountOfThePaymentRefusesWhatIsNoNumber) {
    TFHotovost payment(context, nullptr);
    payment.show();
    payment.SetReceipt(7);
    payment.SetAmount(80);
    auto* handed = Child<TMoxNumEdit>(&payment, "EZaplaceno");
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        Type(handed, QStringLiteral("100"));
        PasteOver(handed, entry.text);
        EXPECT_EQ(handed->text(), QStringLiteral("100"));
        EXPECT_EQ(Child<TMoxLabel>(&payment, "EVratit")->text(), QStringLiteral("20,00 Kč"));
    }
    EXPECT_TRUE(hook.messages.empty());
}

} // namespace
