#pragma once

#include "InstGlob.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTextEdit;

// The installation wizard: a fixed series of pages that collect the choices, then the
// installation with its progress, then the start of the installed program.
class TFMain_Setup final : public QWidget {
    Q_OBJECT
public:
    enum class TPage {
        Start,
        Broken,
        Licence,
        Components,
        OldServer,
        ExistingServer,
        ServerLicence,
        AppFolder,
        DbFolder,
        Group,
        ServerShortcuts,
        Ready,
        Progress,
        Finish
    };

    explicit TFMain_Setup(TSetupEnvironment env, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFMain_Setup)
    ~TFMain_Setup() override;

    TPage CurrentPage() const { return page_; }
    const TSetupChoices& Choices() const { return choices_; }
    bool Finished() const { return finished_; }

    // What the folder browser of the two folder pages hands back.
    void ChooseAppFolder(const QString& folder);
    void ChooseDatabaseFolder(const QString& folder);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TProgressPage;

    void Prepare();
    void Next();
    void Back();
    void Cancel();
    void ShowPage(TPage page, bool forward);
    void EnterPage(bool forward);
    void SetButtons(bool back, bool next, bool cancel,
                    const QString& nextCaption = QStringLiteral("&Další  >"),
                    const QString& backCaption = QStringLiteral("<  &Zpět"),
                    const QString& cancelCaption = QStringLiteral("Storno"));
    void UpdateComponentsNext();
    void UpdateServerLicenceNext();
    void EnterComponents();
    void EnterExistingServer();
    void EnterOldServer();
    void UpdateFolderPage(bool app);
    bool EnoughSpace(const QString& folder, double neededMb);
    void RunSetup();
    void FinishSetup();
    void PrintLicence();
    QString SetupFile(const QString& name) const;

    QWidget* BuildWelcomePage(const QStringList& lines, QLabel** extra = nullptr);
    QWidget* BuildLicencePage();
    QWidget* BuildComponentsPage();
    QWidget* BuildOldServerPage();
    QWidget* BuildExistingServerPage();
    QWidget* BuildServerLicencePage();
    QWidget* BuildFolderPage(bool app);
    QWidget* BuildGroupPage();
    QWidget* BuildServerShortcutsPage();
    QWidget* BuildReadyPage();
    QWidget* BuildProgressPage();
    QWidget* BuildFinishPage();

    TSetupEnvironment env_;
    TSetupChoices choices_;
    TFindings findings_;
    TPreviousInstallation previous_;
    TPage page_ = TPage::Start;
    TPage appFolderEnteredFrom_ = TPage::Components;
    bool prepared_ = false;
    bool finished_ = false;
    bool installing_ = false;
    bool cancelled_ = false;
    bool groupListFilled_ = false;

    QLabel* headerTitle_ = nullptr;
    QLabel* headerDescription_ = nullptr;
    QWidget* header_ = nullptr;
    QWidget* logo_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* bZpet_ = nullptr;
    QPushButton* bDalsi_ = nullptr;
    QPushButton* bStorno_ = nullptr;

    QLabel* startWaiting_ = nullptr;
    QWidget* startTexts_ = nullptr;
    QTextEdit* licenceText_ = nullptr;
    QCheckBox* chServer_ = nullptr;
    QCheckBox* chWorkstation_ = nullptr;
    QLabel* lInstalledBefore_ = nullptr;
    QLabel* lRuntime_ = nullptr;
    QLabel* lOldName_ = nullptr;
    QLabel* lOldVersion_ = nullptr;
    QLabel* lOldFile_ = nullptr;
    QLabel* lExisting_ = nullptr;
    QLabel* lExistingVerdict_ = nullptr;
    QLabel* lExistingUpdate_ = nullptr;
    QLabel* lExistingWarning_ = nullptr;
    QLabel* lExistingFormat_ = nullptr;
    QLineEdit* eAdminPassword_ = nullptr;
    QLabel* lLocalOnly_ = nullptr;
    QCheckBox* chNetwork_ = nullptr;
    QCheckBox* chAgree_ = nullptr;
    QCheckBox* chLater_ = nullptr;
    QLabel* lServerPackages_ = nullptr;
    QLabel* lAppFolder_ = nullptr;
    QLabel* lAppFree_ = nullptr;
    QLabel* lAppNeeded_ = nullptr;
    QLabel* lDbFolder_ = nullptr;
    QLabel* lDbFree_ = nullptr;
    QLineEdit* eGroup_ = nullptr;
    QListWidget* groupList_ = nullptr;
    QCheckBox* chDesktop_ = nullptr;
    QLabel* lDesktops_ = nullptr;
    QListWidget* desktopList_ = nullptr;
    QLineEdit* eAppPath_ = nullptr;
    QLabel* lStep_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* lFinishText_ = nullptr;
    QLabel* lStarting_ = nullptr;
    QCheckBox* chStart_ = nullptr;
};
