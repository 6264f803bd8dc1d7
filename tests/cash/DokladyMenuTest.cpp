#include "DeskFit.h"
#include "DocumentsFixture.h"
#include "Doklady.h"
#include "MoxCheckBox.h"

#include <QPushButton>

namespace {

// The documents desk behind "&Doklady" in the real main window at its minimum size.
class DocumentsMenu : public DocumentsShop {
protected:
    static void ExpectFits(TDeskInMainWindow& shown, const char* state) {
        shown.Settle();
        const QStringList cut = CutCaptions(*shown.Desk());
        EXPECT_TRUE(cut.isEmpty()) << state << ":\n" << cut.join(u'\n').toStdString();
        const QStringList narrow = NarrowFields(*shown.Desk());
        EXPECT_TRUE(narrow.isEmpty()) << state << ":\n" << narrow.join(u'\n').toStdString();
    }
};

TEST_F(DocumentsMenu, TheDeskFitsTheSmallestMainWindowWithEveryPeriodControlShown) {
    CloseYesterday();
    AddTitle(11, QStringLiteral("Pelíšky"), 1);
    AddMedium(101, 11);
    AddReceipt(1, now);
    AddLine(1, 101, 11, now, QStringLiteral("A"), 40, 33.06, 2);
    TDeskInMainWindow shown(context, TMenuButton::Doklady, MakeDesk<TFDoklady>);
    ASSERT_NE(dynamic_cast<TFDoklady*>(shown.Desk()), nullptr);
    ExpectFits(shown, "opened");
    auto* mesic = shown.Desk()->findChild<TMoxCheckBox*>(QStringLiteral("ChObdMesic"));
    ASSERT_NE(mesic, nullptr);
    mesic->setChecked(true);
    ExpectFits(shown, "a month chosen");
}

} // namespace
