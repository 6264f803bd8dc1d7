#include "FailureGuard.h"
#include "GlobDialog.h"
#include "Program.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

QPushButton* ButtonOf(const QDialog& dialog, const QString& caption) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

// Shows the box as the clerk sees it, focused, and presses a key on the focused button.
TMsgResult PressOn(TMsgButtons buttons, const QString& focused, int key) {
    TFGlobDialog dialog(QStringLiteral("Provedené změny nebyly uloženy. Uložit?"), TMsgKind::Question,
                        buttons, nullptr);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), ButtonOf(dialog, QStringLiteral("  &Ano")))
        << "Ano starts focused";
    if (!focused.isEmpty()) {
        QPushButton* button = ButtonOf(dialog, focused);
        EXPECT_NE(button, nullptr);
        button->setFocus(Qt::TabFocusReason);
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    EXPECT_FALSE(dialog.isVisible());
    return dialog.Result();
}

TEST(MessageDialog, EnterPressesTheFocusedButton) {
    EXPECT_EQ(PressOn(TMsgButtons::YesNo, {}, Qt::Key_Return), TMsgResult::Yes);
    EXPECT_EQ(PressOn(TMsgButtons::YesNo, QStringLiteral("  &Ne"), Qt::Key_Return), TMsgResult::No);
    EXPECT_EQ(PressOn(TMsgButtons::YesNoCancel, QStringLiteral("  &Ne"), Qt::Key_Enter), TMsgResult::No);
    EXPECT_EQ(PressOn(TMsgButtons::YesNoCancel, QStringLiteral("Zpět"), Qt::Key_Return), TMsgResult::Cancel);
    EXPECT_EQ(PressOn(TMsgButtons::YesNoCancel, QStringLiteral("  &Ano"), Qt::Key_Return), TMsgResult::Yes);
}

TEST(MessageDialog, EscapeAnswersNoOrZpet) {
    EXPECT_EQ(PressOn(TMsgButtons::YesNo, {}, Qt::Key_Escape), TMsgResult::No);
    EXPECT_EQ(PressOn(TMsgButtons::YesNoCancel, {}, Qt::Key_Escape), TMsgResult::Cancel);
}

// A clerk's action that opens a dialog, as the windows run their actions.
void OpenUnscriptedDialog() {
    QDialog dialog;
    RunReported([&dialog] { ExecModal(dialog); });
}

TEST(QtTexts, TheSystemsOwnDialogsAndButtonsSpeakCzech) {
    ASSERT_TRUE(InstallQtTranslations());
    QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("Zrušit"));
    EXPECT_EQ(box.button(QDialogButtonBox::Open)->text().remove(u'&'), QStringLiteral("Otevřít"));
}

TEST(DialogHook, ADialogTheTestDidNotScriptFailsTheTest) {
    TDialogHook hook;
    EXPECT_NONFATAL_FAILURE(OpenUnscriptedDialog(), "did not script: QDialog");
    EXPECT_TRUE(hook.messages.empty()) << "not one more failure report";
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("QDialog")});
}

} // namespace
