#include "HostileInput.h"
#include "GlobDB.h"
#include "Main_Setup.h"
#include "SetupFixture.h"
#include "SetupMessage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

using TPage = TFMain_Setup::TPage;

// A workstation installed by the wizard with whatever lands in its text fields: the program
// group and the path of the program on the server.
class SetupHostileInput : public ::testing::Test {
protected:
    // Runs the wizard to the page of the field, pastes the entry and goes on to the end.
    // Returns the page the wizard stopped on.
    TPage InstallWith(const char* fieldName, const QString& text) {
        env.paths = root->paths;
        env.setupFolder = Platform::WithSeparator(QStringLiteral(CINEMON_SETUP_FOLDER));
        wizard = std::make_unique<TFMain_Setup>(env);
        wizard->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Button("BDalsi")->isEnabled(); }));
        Next();
        Next();
        wizard->findChild<QCheckBox*>(QStringLiteral("ChServer"))->setChecked(false);
        Next();
        const TPage fieldPage = QByteArray(fieldName) == "EGroup" ? TPage::Group : TPage::ServerShortcuts;
        while (wizard->CurrentPage() != fieldPage && wizard->CurrentPage() != TPage::Ready)
            Next();
        EXPECT_EQ(wizard->CurrentPage(), fieldPage);
        auto* field = wizard->findChild<QLineEdit*>(QString::fromLatin1(fieldName));
        field->setFocus();
        field->selectAll();
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        shown = field->text();
        while (wizard->CurrentPage() != TPage::Ready) {
            const TPage before = wizard->CurrentPage();
            Next();
            if (wizard->CurrentPage() == before)
                return before;
        }
        Next();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return wizard->CurrentPage() == TPage::Finish || !hook.messages.empty(); }, 60000));
        return wizard->CurrentPage();
    }
    QPushButton* Button(const char* name) const {
        return wizard->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Next() { Button("BDalsi")->click(); }
    void Fresh() {
        wizard.reset();
        root = std::make_unique<TSetupRoot>();
        hook.messages.clear();
    }

    std::unique_ptr<TSetupRoot> root = std::make_unique<TSetupRoot>();
    TSetupEnvironment env;
    TSetupMessageHook hook;
    std::unique_ptr<TFMain_Setup> wizard;
    QString shown;
};

TEST_F(SetupHostileInput, TheProgramGroupIsInstalledAsTypedOrRefusedOnItsPage) {
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        Fresh();
        const TPage stopped = InstallWith("EGroup", entry.text);
        if (stopped == TPage::Finish) {
            EXPECT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
            EXPECT_EQ(root->Registry().ReadString(TRegRoot::LocalMachine, RegKey::kProduct,
                                                  QStringLiteral("ProgramGroup"), QString()),
                      shown);
            EXPECT_TRUE(QFileInfo::exists(Platform::JoinPath(root->paths.userPrograms, shown) +
                                          QStringLiteral("/Videopůjčovna Kinodesk.desktop")));
        } else {
            EXPECT_EQ(stopped, TPage::Group) << "refused before anything is installed";
            ASSERT_EQ(hook.messages.size(), 1U);
            EXPECT_EQ(wizard->findChild<QLineEdit*>(QStringLiteral("EGroup"))->text(), shown);
            EXPECT_FALSE(QFileInfo::exists(root->paths.machineRegistry));
        }
    }
}

TEST_F(SetupHostileInput, TheProgramPathIsInstalledAsTypedOrRefusedOnItsPage) {
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        Fresh();
        const TPage stopped = InstallWith("EAppPath", entry.text);
        if (stopped == TPage::Finish) {
            EXPECT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
            EXPECT_EQ(root->Registry().ReadString(TRegRoot::LocalMachine, RegKey::kUninstallProduct,
                                                  QStringLiteral("DisplayIcon"), QString()),
                      shown);
            const QString shortcut =
                root->paths.userPrograms + QStringLiteral("/Kinodesk/Videopůjčovna Kinodesk.desktop");
            QProcess validate;
            validate.start(QStringLiteral("desktop-file-validate"), {shortcut});
            ASSERT_TRUE(validate.waitForFinished(30000));
            EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
        } else {
            EXPECT_EQ(stopped, TPage::ServerShortcuts) << "refused before anything is installed";
            ASSERT_EQ(hook.messages.size(), 1U);
            EXPECT_EQ(wizard->findChild<QLineEdit*>(QStringLiteral("EAppPath"))->text(), shown);
            EXPECT_FALSE(QFileInfo::exists(root->paths.machineRegistry));
        }
    }
}

// The folders come from the folder dialog, whose names may hold anything the file system takes.
TEST_F(SetupHostileInput, TheApplicationFolderIsInstalledAndConfiguredAsChosenOrRefusedOnItsPage) {
    for (const THostileInput& entry : HostileInputs()) {
        SCOPED_TRACE(entry.name);
        Fresh();
        env.paths = root->paths;
        env.setupFolder = Platform::WithSeparator(QStringLiteral(CINEMON_SETUP_FOLDER));
        wizard = std::make_unique<TFMain_Setup>(env);
        wizard->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Button("BDalsi")->isEnabled(); }));
        while (wizard->CurrentPage() != TPage::AppFolder)
            Next();
        const QString app = root->Path(QStringLiteral("opt/")) + entry.text;
        wizard->ChooseAppFolder(app);
        Next();
        if (wizard->CurrentPage() == TPage::AppFolder) {
            ASSERT_EQ(hook.messages.size(), 1U);
            EXPECT_FALSE(QFileInfo::exists(root->paths.machineRegistry));
            continue;
        }
        while (wizard->CurrentPage() != TPage::Ready)
            Next();
        Next();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return wizard->CurrentPage() == TPage::Finish || !hook.messages.empty(); }, 60000));
        ASSERT_TRUE(hook.messages.empty()) << hook.messages.front().text.toStdString();
        const QString folder = Platform::WithSeparator(QDir::cleanPath(app));
        EXPECT_EQ(QDir::cleanPath(root->Registry().ReadString(TRegRoot::LocalMachine, RegKey::kProduct,
                                                              QStringLiteral("AppDirectory"), QString())),
                  QDir::cleanPath(folder));
        TDMGlobDB installed(folder + QStringLiteral("Kinodesk.exe"));
        EXPECT_EQ(QDir::cleanPath(installed.ConfigFileRead()), folder + QStringLiteral("Kinodesk.ini"));
        EXPECT_EQ(QDir::cleanPath(installed.DatabaseFile()), folder + QStringLiteral("CINEMON.GDB"));
        EXPECT_TRUE(QFileInfo::exists(installed.DatabaseFile()));
    }
}

} // namespace
