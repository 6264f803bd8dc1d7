#include "DeskFit.h"
#include "MoxButton.h"
#include "Nastaveni.h"
#include "SettingsPage.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

// The main window opens at its minimum size: every page of the settings desk shows its captions
// whole and its fields wide enough there.
TEST(SettingsLayout, EveryPageFitsTheSmallestMainWindow) {
    TTestDatabase database;
    TAppContext context(database.ExecutablePath());
    TDeskInMainWindow shown(context, TMenuButton::Nastaveni, MakeDesk<TFNastaveni>);
    auto* desk = dynamic_cast<TFNastaveni*>(shown.Desk());
    ASSERT_NE(desk, nullptr);
    for (int i = 0; i < TFNastaveni::kPageCount; ++i) {
        const auto page = static_cast<TFNastaveni::TPage>(i);
        ASSERT_TRUE(desk->ShowPage(page)) << i;
        shown.Settle();
        const std::string name = desk->Button(page)->text().toStdString();
        const QStringList cut = CutCaptions(*desk->Page(page));
        EXPECT_TRUE(cut.isEmpty()) << name << ":\n" << cut.join(u'\n').toStdString();
        const QStringList narrow = NarrowFields(*desk->Page(page));
        EXPECT_TRUE(narrow.isEmpty()) << name << ":\n" << narrow.join(u'\n').toStdString();
    }
}

} // namespace
