#include "HostileInput.h"
#include "AppContext.h"
#include "GlobDialog.h"
#include "HostileField.h"
#include "Inventura.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxNumEdit.h"
#include "StockFixture.h"

#include <memory>

namespace {

// The stocktaking desk's scan field with whatever a reader or a clerk's paste delivers.
class StockHostileInput : public StockShop {
protected:
    StockHostileInput() {
        desk = std::make_unique<TFInventura>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
    }
    ~StockHostileInput() override { desk->LeaveDesk(); }

    template <typename T = QWidget> T* Child(const char* name) const {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFInventura> desk;
};

TEST_F(StockHostileInput, AScannedTextThatIsNoLabelIsNotFoundAndStaysForACorrection) {
    Child<TMoxButton>("BNacist")->click();
    auto* field = Child<TMoxEdit>("EHledejEAN");
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        hook.Clear();
        PasteOver(field, entry.text);
        const QString scanned = field->text();
        EXPECT_EQ(scanned, entry.text.left(field->maxLength()));
        QTest::keyClick(field, Qt::Key_Return);

        ASSERT_EQ(hook.messages.size(), 1U) << Shown(hook);
        EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
        if (entry.storable) {
            EXPECT_EQ(hook.messages[0].text, QStringLiteral("Žádný nosič s CN kódem ") + scanned +
                                                 QStringLiteral(" nebyl nalezen."));
            EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
        } else {
            EXPECT_TRUE(RefusesCodePage(hook)) << Shown(hook);
        }
        EXPECT_EQ(field->text(), scanned);
    }
    EXPECT_EQ(Child<TMoxNumEdit>("EInvD")->valueInt() + Child<TMoxNumEdit>("EInvV")->valueInt(), 0);
    EXPECT_EQ(database.Scalar(QStringLiteral("select count(*) from NOSICE")).toInt(), 8);
}

} // namespace
