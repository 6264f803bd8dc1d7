#include "Main_Setup.h"

#include "DbError.h"
#include "RtfText.h"
#include "SetupMessage.h"
#include "SetupTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kErrorTitle = QStringLiteral("Chyba instalace");
const QString kNoSpace = QStringLiteral("Na cílovém disku není dostatek volného místa.\r\rVyberte jiný "
                                        "cílový disk,\rnebo uvolněte místo na disku.");
// The installation stops at the next step when the user cancels it.
class ECancelled final : public std::exception {};

} // namespace

// The progress page as the installation sees it.
class TFMain_Setup::TProgressPage final : public TInstallProgress {
public:
    explicit TProgressPage(TFMain_Setup& window) : window_(window) {}

    void SetMaximum(int maximum) override {
        window_.progressBar_->setRange(0, maximum);
        window_.progressBar_->setValue(0);
    }
    void Step(const QString& text) override {
        if (window_.cancelled_)
            throw ECancelled();
        window_.lStep_->setText(text);
        Advance();
    }
    void Advance() override {
        QProgressBar* bar = window_.progressBar_;
        bar->setValue(std::min(bar->value() + 1, bar->maximum()));
    }
    bool AskOverwrite(const QString& text) override {
        return SetupMessage(&window_, QStringLiteral("Upozornění"), text, TSetupIcon::Warning,
                            TSetupButtons::YesNo) == TSetupAnswer::Yes;
    }
    void ShowError(const QString& title, const QString& text) override {
        SetupMessage(&window_, title, text, TSetupIcon::Error, TSetupButtons::Ok);
    }

private:
    TFMain_Setup& window_;
};

TFMain_Setup::TFMain_Setup(TSetupEnvironment env, QWidget* parent)
    : QWidget(parent), env_(std::move(env)), choices_(DefaultChoices(env_.paths)) {
    setWindowTitle(kProductName + u' ' + QStringLiteral("Instalace"));
    resize(620, 460);

    auto* layout = new QVBoxLayout(this);
    header_ = new QWidget(this);
    auto* headerLayout = new QVBoxLayout(header_);
    headerTitle_ = new QLabel(header_);
    QFont titleFont = headerTitle_->font();
    titleFont.setBold(true);
    headerTitle_->setFont(titleFont);
    headerDescription_ = SetupTexts::Label(QString(), header_);
    headerLayout->addWidget(headerTitle_);
    headerLayout->addWidget(headerDescription_);
    layout->addWidget(header_);

    auto* body = new QHBoxLayout;
    logo_ = new QLabel(this);
    logo_->setFixedWidth(160);
    logo_->setAutoFillBackground(true);
    logo_->setStyleSheet(QStringLiteral("background-color: #1d3f72;"));
    body->addWidget(logo_);
    pages_ = new QStackedWidget(this);
    body->addWidget(pages_, 1);
    layout->addLayout(body, 1);

    pages_->addWidget(
        BuildWelcomePage({QStringLiteral("Vítá vás průvodce instalací aplikace"),
                          QStringLiteral("Videopůjčovna"), kProductName,
                          QStringLiteral("Před pokračováním v instalaci doporučujeme ukončit všechny "
                                         "ostatní běžící aplikace."),
                          QStringLiteral("Klepnutím na tlačítko Další pak můžete pokračovat v instalaci."),
                          QStringLiteral("Stiskem tlačítka Storno můžete kdykoliv ukončit instalaci.")},
                         &startWaiting_));
    pages_->addWidget(BuildWelcomePage(
        {QStringLiteral("Chyba instalačního procesu"),
         QStringLiteral(
             "V instalaci aplikace nelze pokračovat, protože jsou některé soubory poškozeny nebo není "
             "instalační program kompletní."),
         QStringLiteral("Kontaktujte prosím výrobce nebo prodejce aplikace. Zašleme Vám novou instalaci."),
         QStringLiteral("Stiskněte tlačítko Storno pro ukončení instalace.")}));
    pages_->addWidget(BuildLicencePage());
    pages_->addWidget(BuildComponentsPage());
    pages_->addWidget(BuildOldServerPage());
    pages_->addWidget(BuildExistingServerPage());
    pages_->addWidget(BuildServerLicencePage());
    pages_->addWidget(BuildFolderPage(true));
    pages_->addWidget(BuildFolderPage(false));
    pages_->addWidget(BuildGroupPage());
    pages_->addWidget(BuildServerShortcutsPage());
    pages_->addWidget(BuildReadyPage());
    pages_->addWidget(BuildProgressPage());
    pages_->addWidget(BuildFinishPage());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    bZpet_ = new QPushButton(this);
    bZpet_->setObjectName(QStringLiteral("BZpet"));
    bDalsi_ = new QPushButton(this);
    bDalsi_->setObjectName(QStringLiteral("BDalsi"));
    bStorno_ = new QPushButton(this);
    bStorno_->setObjectName(QStringLiteral("BStorno"));
    buttons->addWidget(bZpet_);
    buttons->addWidget(bDalsi_);
    buttons->addSpacing(12);
    buttons->addWidget(bStorno_);
    layout->addLayout(buttons);
    connect(bZpet_, &QPushButton::clicked, this, &TFMain_Setup::Back);
    connect(bDalsi_, &QPushButton::clicked, this, &TFMain_Setup::Next);
    connect(bStorno_, &QPushButton::clicked, this, &TFMain_Setup::Cancel);

    ShowPage(TPage::Start, true);
    startTexts_->hide();
    startWaiting_->show();
    SetButtons(false, false, false);
}

TFMain_Setup::~TFMain_Setup() = default;

QString TFMain_Setup::SetupFile(const QString& name) const {
    return Platform::JoinPath(env_.setupFolder, name);
}

void TFMain_Setup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!prepared_) {
        prepared_ = true;
        QTimer::singleShot(0, this, &TFMain_Setup::Prepare);
    }
}

void TFMain_Setup::Prepare() {
    const TRegistry registry = env_.Registry();
    if (ProductInstalled(registry)) {
        const TSetupAnswer answer = SetupMessage(
            this, QStringLiteral("Opětovná instalace"),
            QStringLiteral(
                "Aplikace Kinodesk je již v systému nainstalovaná.\r\rChcete aplikaci přeinstalovat,\r"
                "případně opravit instalaci?"),
            TSetupIcon::Question, TSetupButtons::YesNoCancel);
        if (answer != TSetupAnswer::Yes) {
            finished_ = true;
            close();
            return;
        }
        choices_.reinstall = true;
        previous_ = ReadInstallation(registry, choices_);
        choices_.appFolder = previous_.appFolder;
        choices_.databaseFolder = previous_.databaseFolder;
        choices_.group = previous_.group;
        eGroup_->setText(choices_.group);
        // The password the shop gave its program stays.
        if (const auto kept = ConfiguredAdminPassword(choices_))
            eAdminPassword_->setText(*kept);
    }

    QFile licence(SetupFile(QStringLiteral("licence.rtf")));
    if (!licence.open(QIODevice::ReadOnly)) {
        ShowPage(TPage::Broken, true);
        return;
    }
    licenceText_->setHtml(RtfToHtml(licence.readAll()));
    findings_ = DetectAll(env_);
    if (findings_.server.found)
        choices_.serverFolder = findings_.server.folder;

    startWaiting_->hide();
    startTexts_->show();
    SetButtons(false, true, true);
}

void TFMain_Setup::SetButtons(bool back, bool next, bool cancel, const QString& nextCaption,
                              const QString& backCaption, const QString& cancelCaption) {
    bZpet_->setText(backCaption);
    bDalsi_->setText(nextCaption);
    bStorno_->setText(cancelCaption);
    bZpet_->setEnabled(back);
    bDalsi_->setEnabled(next);
    bStorno_->setEnabled(cancel);
    bDalsi_->setDefault(true);
}

void TFMain_Setup::ShowPage(TPage page, bool forward) {
    page_ = page;
    pages_->setCurrentIndex(static_cast<int>(page));
    struct THeader {
        const char16_t* title;
        const char16_t* description;
    };
    static const THeader headers[] = {
        {u"", u""},
        {u"", u""},
        {u"Licenční smlouva", u"Stiskem klávesy PAGE DOWN zobrazíte pokračování smlouvy."},
        {u"Součásti instalace", u"Zadejte součísti systému, které chcete instalovat na tento počítač."},
        {u"Upozornění o existenci databáze", u""},
        {u"Upozornění o existenci databáze", u""},
        {u"Instalace databázového serveru", u"Firebird verze 1.0.3.972"},
        {u"Cílová složka aplikace", u"Vyberte složku, kam se má aplikace instalovat"},
        {u"Cílová složka databáze", u"Vyberte složku, kde bude uložena databáze"},
        {u"Skupina programů", u"Instalátor vytvoří ikony v následující skupině nabídky Start."},
        {u"Zástupci ze serveru", u"Zadejte zástupce databáze a aplikace ze serveru."},
        {u"Připraveno instalovat aplikaci", u"Stiskněte tlačítko Instalovat pro spuštění instalace."},
        {u"Instalace aplikace", u"Stiskem tlačítka Storno lze instalaci aplikace přerušit."},
        {u"", u""},
    };
    const bool welcome = page == TPage::Start || page == TPage::Broken || page == TPage::Finish;
    header_->setVisible(!welcome);
    logo_->setVisible(welcome);
    const THeader& header = headers[static_cast<int>(page)];
    headerTitle_->setText(QString::fromUtf16(header.title));
    headerDescription_->setText(QString::fromUtf16(header.description));
    EnterPage(forward);
}

void TFMain_Setup::EnterPage(bool forward) {
    const bool onlyWorkstation = choices_.installWorkstation && !choices_.installApp;
    switch (page_) {
    case TPage::Start:
        SetButtons(false, true, true);
        break;
    case TPage::Broken:
        SetButtons(false, false, true);
        break;
    case TPage::Licence:
        SetButtons(true, true, true, QStringLiteral("&Ano"), QStringLiteral("<  &Zpět"),
                   QStringLiteral("&Ne"));
        licenceText_->setFocus();
        break;
    case TPage::Components:
        EnterComponents();
        break;
    case TPage::OldServer:
        EnterOldServer();
        SetButtons(true, false, true);
        break;
    case TPage::ExistingServer:
        EnterExistingServer();
        SetButtons(true, true, true);
        break;
    case TPage::ServerLicence:
        lServerPackages_->setVisible(!findings_.server.found);
        SetButtons(true, false, true);
        UpdateServerLicenceNext();
        break;
    case TPage::AppFolder:
    case TPage::DbFolder:
        if (const auto problem = FolderProblem(choices_.databaseFolder); problem && choices_.installApp) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        if (!choices_.installApp) {
            forward ? Next() : Back();
            return;
        }
        UpdateFolderPage(page_ == TPage::AppFolder);
        SetButtons(true, true, true);
        break;
    case TPage::Group:
        if (!choices_.installWorkstation) {
            forward ? Next() : Back();
            return;
        }
        if (!groupListFilled_) {
            groupListFilled_ = true;
            QStringList groups =
                QDir(findings_.shellFolders.programs).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            groups.sort(Qt::CaseInsensitive);
            groupList_->addItems(groups);
            for (const TDesktopOwner& owner : findings_.shellFolders.desktops) {
                auto* item = new QListWidgetItem(owner.account, desktopList_);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Checked);
            }
        }
        lDesktops_->setVisible(!findings_.shellFolders.desktops.empty());
        desktopList_->setVisible(!findings_.shellFolders.desktops.empty());
        SetButtons(true, true, true);
        break;
    case TPage::ServerShortcuts:
        if (!onlyWorkstation) {
            forward ? Next() : Back();
            return;
        }
        SetButtons(true, true, true);
        break;
    case TPage::Ready:
        SetButtons(true, true, true, QStringLiteral("&Instalovat"));
        break;
    case TPage::Progress:
        SetButtons(false, false, true, QStringLiteral("&Instalovat"));
        QTimer::singleShot(0, this, &TFMain_Setup::RunSetup);
        break;
    case TPage::Finish:
        chStart_->setVisible(choices_.installWorkstation && !choices_.serverLater);
        SetButtons(false, true, false, QStringLiteral("&Dokončit"));
        break;
    }
}

void TFMain_Setup::EnterComponents() {
    // The program would not start without them: said here, where the computer's part is chosen.
    lRuntime_->setVisible(!findings_.missingPackages.isEmpty());
    lRuntime_->setText(Platform::RuntimePackageHint(findings_.missingPackages).replace(u'\r', u'\n'));
    if (choices_.reinstall) {
        if (previous_.serverAndApp) {
            chServer_->setChecked(true);
            chServer_->setEnabled(false);
        }
        if (previous_.workstation) {
            chWorkstation_->setChecked(true);
            chWorkstation_->setEnabled(false);
        }
        lInstalledBefore_->setVisible(previous_.serverAndApp || previous_.workstation);
    }
    SetButtons(true, true, true);
    UpdateComponentsNext();
}

void TFMain_Setup::UpdateComponentsNext() {
    if (page_ == TPage::Components)
        bDalsi_->setEnabled(chServer_->isChecked() || chWorkstation_->isChecked());
}

void TFMain_Setup::UpdateServerLicenceNext() {
    if (page_ == TPage::ServerLicence)
        bDalsi_->setEnabled(chAgree_->isChecked() || chLater_->isChecked());
}

void TFMain_Setup::EnterOldServer() {
    const bool server = findings_.server.found;
    lOldName_->setText(QStringLiteral("Název: ") +
                       (server ? findings_.server.description : findings_.client.description));
    lOldVersion_->setText(QStringLiteral("Verze: ") +
                          (server ? findings_.server.version : findings_.client.version));
    lOldFile_->setText(QStringLiteral("Soubor: ") + (server ? findings_.server.path : findings_.client.path));
}

void TFMain_Setup::EnterExistingServer() {
    lExisting_->setText(findings_.server.description + QStringLiteral(", verze ") + findings_.server.version);
    const TVersionOrder order = CompareVersions(findings_.server.version, kServerVersion);
    const bool older = order == TVersionOrder::Older;
    choices_.installServer = older;
    lExistingUpdate_->setVisible(older);
    lExistingWarning_->setVisible(older);
    lExistingFormat_->setVisible(!OpensDeliveredDatabase(findings_.server));
    const bool localOnly = findings_.serverOnlyLocal && choices_.installApp;
    lLocalOnly_->setVisible(localOnly);
    chNetwork_->setVisible(localOnly);
    lLocalOnly_->setText(
        QStringLiteral("Databázový server přijímá spojení jen z tohoto počítače (v souboru %1 je "
                       "RemoteBindAddress = localhost), pracovní stanice prodejny se k němu nepřipojí. Aby "
                       "se připojily, je třeba tento řádek zakomentovat a server restartovat.")
            .arg(env_.paths.serverConfigFile));
    switch (order) {
    case TVersionOrder::Equal:
        lExistingVerdict_->setText(
            QStringLiteral("Aplikace bude tuto databázi používat. Pokud se rozhodnete původní aplikaci, "
                           "která databázový server "
                           "instalovala, zrušit, databázový server Firebird 1.0 v počítači ponechte."));
        break;
    case TVersionOrder::Older:
        lExistingVerdict_->setText(
            QStringLiteral("Aplikace neumí spolupracovat s touto starou verzí databáze. Pokud "
                           "budete pokračovat v instalaci, bude se databáze aktualizovat na "
                           "verzi:"));
        break;
    case TVersionOrder::Newer:
        lExistingVerdict_->setText(QStringLiteral(
            "Jedná se o novější verzi databázového serveru než je v této instalaci. Aplikace bude tento "
            "server "
            "používat. Odinstalováním databáze z počítače vám přestane fungovat i tato aplikace."));
        break;
    }
}

void TFMain_Setup::UpdateFolderPage(bool app) {
    const QString folder = app ? choices_.appFolder : choices_.databaseFolder;
    (app ? lAppFolder_ : lDbFolder_)->setText(folder);
    const qint64 free = Platform::FreeSpace(folder);
    (app ? lAppFree_ : lDbFree_)
        ->setText(free < 0 ? QStringLiteral("nelze zjistit")
                           : SetupTexts::Megabytes(static_cast<double>(free) / 1048576.0));
    if (app)
        lAppNeeded_->setText(SetupTexts::Megabytes(choices_.installServer ? 10.2 : 5.6));
}

void TFMain_Setup::ChooseAppFolder(const QString& folder) {
    const QString chosen = Platform::WithSeparator(folder);
    if (choices_.databaseFolder == choices_.appFolder)
        choices_.databaseFolder = chosen;
    choices_.appFolder = chosen;
    UpdateFolderPage(true);
}

void TFMain_Setup::ChooseDatabaseFolder(const QString& folder) {
    choices_.databaseFolder = Platform::WithSeparator(folder);
    UpdateFolderPage(false);
}

bool TFMain_Setup::EnoughSpace(const QString& folder, double neededMb) {
    const qint64 free = std::max<qint64>(Platform::FreeSpace(folder), 0);
    if (static_cast<double>(free) >= neededMb * 1048576.0)
        return true;
    SetupMessage(this, kErrorTitle, kNoSpace, TSetupIcon::Error, TSetupButtons::Ok);
    return false;
}

void TFMain_Setup::Next() {
    switch (page_) {
    case TPage::Start:
        ShowPage(TPage::Licence, true);
        break;
    case TPage::Licence:
        ShowPage(TPage::Components, true);
        break;
    case TPage::Components:
        if (chServer_->isChecked()) {
            const TFoundClient& client = findings_.client;
            if ((client.found && client.version.isEmpty()) || (!client.found && findings_.server.found))
                ShowPage(TPage::OldServer, true);
            else if (findings_.server.found)
                ShowPage(TPage::ExistingServer, true);
            else
                ShowPage(TPage::ServerLicence, true);
        } else {
            appFolderEnteredFrom_ = TPage::Components;
            ShowPage(TPage::AppFolder, true);
        }
        break;
    case TPage::ExistingServer:
        if (const auto problem = AdminPasswordProblem(choices_.adminPassword, env_.paths)) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        if (choices_.installServer) {
            ShowPage(TPage::ServerLicence, true);
        } else {
            appFolderEnteredFrom_ = TPage::ExistingServer;
            ShowPage(TPage::AppFolder, true);
        }
        break;
    case TPage::ServerLicence:
        if (choices_.installServer && !chLater_->isChecked() && ServerRunning()) {
            SetupMessage(this, kErrorTitle,
                         QStringLiteral(
                             "Databáze je spuštěna.\rPřed pokračováním instalace je nutno ukončit spuštěnou "
                             "databázi."),
                         TSetupIcon::Warning, TSetupButtons::Ok);
            return;
        }
        appFolderEnteredFrom_ = TPage::ServerLicence;
        ShowPage(TPage::AppFolder, true);
        break;
    case TPage::AppFolder:
        if (const auto problem = FolderProblem(choices_.appFolder); problem && choices_.installApp) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        if (choices_.installApp && !EnoughSpace(choices_.appFolder, choices_.installServer ? 10.2 : 5.6))
            return;
        ShowPage(TPage::DbFolder, true);
        break;
    case TPage::DbFolder:
        if (const auto problem = FolderProblem(choices_.databaseFolder); problem && choices_.installApp) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        if (choices_.installApp && !choices_.installWorkstation && !EnoughSpace(choices_.databaseFolder, 1.2))
            return;
        if (const auto problem = Platform::ServerFolderProblem(choices_.databaseFolder);
            problem && choices_.installApp) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        ShowPage(TPage::Group, true);
        break;
    case TPage::Group:
        if (const auto problem = GroupProblem(choices_.group)) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        ShowPage(TPage::ServerShortcuts, true);
        break;
    case TPage::ServerShortcuts:
        if (const auto problem = AppPathProblem(choices_.workstationAppPath)) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        ShowPage(TPage::Ready, true);
        break;
    case TPage::Ready:
        if (const auto problem = InstallationProblem(env_, choices_, findings_)) {
            SetupMessage(this, kErrorTitle, *problem, TSetupIcon::Error, TSetupButtons::Ok);
            return;
        }
        ShowPage(TPage::Progress, true);
        break;
    case TPage::Finish:
        FinishSetup();
        break;
    case TPage::Broken:
    case TPage::OldServer:
    case TPage::Progress:
        break;
    }
}

void TFMain_Setup::Back() {
    switch (page_) {
    case TPage::Licence:
        ShowPage(TPage::Start, false);
        break;
    case TPage::Components:
        ShowPage(TPage::Licence, false);
        break;
    case TPage::OldServer:
    case TPage::ExistingServer:
        ShowPage(TPage::Components, false);
        break;
    case TPage::ServerLicence:
        ShowPage(findings_.server.found ? TPage::ExistingServer : TPage::Components, false);
        break;
    case TPage::AppFolder:
        ShowPage(appFolderEnteredFrom_, false);
        break;
    case TPage::DbFolder:
        ShowPage(TPage::AppFolder, false);
        break;
    case TPage::Group:
        ShowPage(TPage::DbFolder, false);
        break;
    case TPage::ServerShortcuts:
        ShowPage(TPage::Group, false);
        break;
    case TPage::Ready:
        ShowPage(TPage::ServerShortcuts, false);
        break;
    case TPage::Start:
    case TPage::Broken:
    case TPage::Progress:
    case TPage::Finish:
        break;
    }
}

void TFMain_Setup::Cancel() {
    close();
}

void TFMain_Setup::RunSetup() {
    installing_ = true;
    TProgressPage progress(*this);
    try {
        RunInstallation(env_, choices_, findings_, progress);
    } catch (const ECancelled&) {
        installing_ = false;
        finished_ = true;
        close();
        return;
    } catch (const ECinemonError& e) {
        installing_ = false;
        SetupMessage(this, kErrorTitle,
                     e.Message() + QStringLiteral("\r\rCo instalace zapsala, bylo vráceno zpět."),
                     TSetupIcon::Error, TSetupButtons::Ok);
        return;
    }
    installing_ = false;
    ShowPage(TPage::Finish, true);
}

void TFMain_Setup::FinishSetup() {
    if (chStart_->isVisible() && chStart_->isChecked()) {
        lStarting_->show();
        chStart_->hide();
        lFinishText_->hide();
        bDalsi_->setEnabled(false);
        Platform::StartProgram(choices_.AppPath());
    }
    finished_ = true;
    close();
}

void TFMain_Setup::PrintLicence() {
    QPrinter printer;
    printer.setDocName(QStringLiteral("Licence Kinodesk, Quarkon s.r.o."));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        licenceText_->document()->print(&printer);
}

void TFMain_Setup::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    const TSetupAnswer answer = SetupMessage(
        this, QStringLiteral("Ukončení instalace"),
        QStringLiteral("Instalace nebyla dokončena. \rPokud instalaci ukončíte, aplikace nebude funkční."
                       "\r\rOpravdu ukončit instalaci?"),
        TSetupIcon::Question, TSetupButtons::YesNo);
    if (answer != TSetupAnswer::Yes) {
        event->ignore();
        return;
    }
    if (installing_) {
        // The running installation stops at its next step and closes the window then.
        cancelled_ = true;
        event->ignore();
        return;
    }
    event->accept();
}
