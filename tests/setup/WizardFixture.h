#pragma once

#include "Main_Setup.h"
#include "SetupFixture.h"
#include "SetupMessage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <vector>

using TPage = TFMain_Setup::TPage;

// The wizard on a computer of its own, installing from the setup folder this build made.
class Wizard : public ::testing::Test {
protected:
    Wizard() {
        env.paths = root.paths;
        env.setupFolder = Platform::WithSeparator(QStringLiteral(CINEMON_SETUP_FOLDER));
    }

    void Start() {
        hook.messages.clear();
        wizard = std::make_unique<TFMain_Setup>(env);
        wizard->show();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return Button("BDalsi")->isEnabled() || wizard->CurrentPage() == TPage::Broken ||
                   !wizard->isVisible();
        }));
    }

    QPushButton* Button(const char* name) const {
        return wizard->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    template <typename T> T* Child(const char* name) const {
        return wizard->findChild<T*>(QString::fromLatin1(name));
    }

    // Presses next and notes the page it leads to.
    void Next() {
        Button("BDalsi")->click();
        pages.push_back(wizard->CurrentPage());
    }
    void Back() {
        Button("BZpet")->click();
        pages.push_back(wizard->CurrentPage());
    }

    void Install() {
        ASSERT_EQ(wizard->CurrentPage(), TPage::Ready);
        EXPECT_EQ(Button("BDalsi")->text(), QStringLiteral("&Instalovat"));
        Next();
        ASSERT_TRUE(QTest::qWaitFor([&] { return wizard->CurrentPage() == TPage::Finish; }, 120000));
        pages.push_back(wizard->CurrentPage());
        EXPECT_EQ(Button("BDalsi")->text(), QStringLiteral("&Dokončit"));
        EXPECT_FALSE(Button("BZpet")->isEnabled());
        EXPECT_FALSE(Button("BStorno")->isEnabled());
    }

    void Finish(bool startProgram) {
        Child<QCheckBox>("ChSpustit")->setChecked(startProgram);
        Next();
        EXPECT_TRUE(wizard->Finished());
        EXPECT_FALSE(wizard->isVisible());
    }

    TSetupRoot root;
    TSetupEnvironment env;
    TSetupMessageHook hook;
    std::unique_ptr<TFMain_Setup> wizard;
    std::vector<TPage> pages;
};

// Runs an installed uninstaller with the owner's answers typed in.
inline QString Uninstall(const QString& uninstaller, const QByteArray& answers) {
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), {uninstaller});
    process.write(answers);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
}
