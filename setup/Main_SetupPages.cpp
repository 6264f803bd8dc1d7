#include "Main_Setup.h"

#include "SetupMessage.h"
#include "SetupTexts.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

// The pages of the wizard, each built once; what they show changes as they are entered.

QWidget* TFMain_Setup::BuildWelcomePage(const QStringList& lines, QLabel** waiting) {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    auto* texts = new QWidget(page);
    auto* textLayout = new QVBoxLayout(texts);
    textLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* label = SetupTexts::Label(lines.at(i), texts);
        if (i == 0) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.4);
            label->setFont(font);
        }
        textLayout->addWidget(label);
    }
    textLayout->addStretch(1);
    layout->addWidget(texts, 1);
    if (waiting) {
        *waiting = SetupTexts::Label(QStringLiteral("Probíhá příprava instalace čekejte prosím..."), page);
        layout->addWidget(*waiting);
        startTexts_ = texts;
    }
    return page;
}

QWidget* TFMain_Setup::BuildLicencePage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    licenceText_ = new QTextEdit(page);
    licenceText_->setObjectName(QStringLiteral("LicenceText"));
    licenceText_->setReadOnly(true);
    licenceText_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(licenceText_, 1);
    auto* print = new QPushButton(QStringLiteral("Tisk"), page);
    connect(print, &QPushButton::clicked, this, &TFMain_Setup::PrintLicence);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(print);
    layout->addLayout(row);
    return page;
}

QWidget* TFMain_Setup::BuildComponentsPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    chServer_ =
        new QCheckBox(QStringLiteral("Instalovat databázový server Firebird, instalovat aplikaci."), page);
    chServer_->setObjectName(QStringLiteral("ChServer"));
    chServer_->setChecked(true);
    layout->addWidget(chServer_);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Databázový server slouží k ukládání dat, aplikace zprostředkovává data a "
                       "spouští všechny funkce. Vždy se instaluje pouze jednou na celou prodejnu "
                       "(počítačovou síť)."),
        page));
    chWorkstation_ = new QCheckBox(QStringLiteral("Instalovat pracovní stanici."), page);
    chWorkstation_->setObjectName(QStringLiteral("ChStanice"));
    chWorkstation_->setChecked(true);
    layout->addWidget(chWorkstation_);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Instaluje se na počítač, odkud se bude systém spouštět (pracovní stanice)."), page));
    lInstalledBefore_ = SetupTexts::Label(
        QStringLiteral("Již naistalované součásti lze takto odebrat. K odebrání některé součásti "
                       "spusťte Odinstalaci aplikace."),
        page);
    lInstalledBefore_->hide();
    layout->addWidget(lInstalledBefore_);
    lRuntime_ = SetupTexts::Label(QString(), page);
    lRuntime_->setObjectName(QStringLiteral("LKnihovny"));
    lRuntime_->hide();
    layout->addWidget(lRuntime_);
    layout->addStretch(1);
    connect(chServer_, &QCheckBox::toggled, this, [this](bool on) {
        choices_.installServer = on;
        choices_.installApp = on;
        UpdateComponentsNext();
    });
    connect(chWorkstation_, &QCheckBox::toggled, this, [this](bool on) {
        choices_.installWorkstation = on;
        UpdateComponentsNext();
    });
    return page;
}

QWidget* TFMain_Setup::BuildOldServerPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Na vašem počítači je již nainstalovaná stará verze databáze Interbase/Firebird:"),
        page));
    lOldName_ = SetupTexts::Label(QString(), page);
    lOldVersion_ = SetupTexts::Label(QString(), page);
    lOldFile_ = SetupTexts::Label(QString(), page);
    layout->addWidget(lOldName_);
    layout->addWidget(lOldVersion_);
    layout->addWidget(lOldFile_);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Nejdříve odeberte starou verzi databáze InterBase/Firebird ze systému a "
                       "potom můžete v instalaci aplikace pokračovat."),
        page));
    layout->addWidget(
        SetupTexts::Label(QStringLiteral("Stiskněte tlačítko Storno pro ukončení instalace."), page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildExistingServerPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        SetupTexts::Label(QStringLiteral("Na vašem počítači je již nainstalovaná databáze:"), page));
    lExisting_ = SetupTexts::Label(QString(), page);
    lExisting_->setObjectName(QStringLiteral("LExisting"));
    layout->addWidget(lExisting_);
    lExistingVerdict_ = SetupTexts::Label(QString(), page);
    lExistingVerdict_->setObjectName(QStringLiteral("LVerdict"));
    layout->addWidget(lExistingVerdict_);
    lExistingUpdate_ =
        SetupTexts::Label(QStringLiteral("Firebird Database Server, verze 6.2.3.972 (Firebird 1.0.3)"), page);
    layout->addWidget(lExistingUpdate_);
    lExistingWarning_ =
        SetupTexts::Label(QStringLiteral("Správnou činnost aplikací, které používali původní databázi, nelze "
                                         "zaručit. Proveďte zálohu databází a po instalaci je obnovte. S "
                                         "případnými problémy se obraťte na výrobce vašich programů."),
                          page);
    layout->addWidget(lExistingWarning_);
    lExistingFormat_ = SetupTexts::Label(
        QStringLiteral(
            "Tento server neotevře databázový soubor této instalace (Firebird 3). Instalace "
            "proto dodá jen zálohu databáze a aplikace z ní databázi vytvoří při prvním spuštění."),
        page);
    lExistingFormat_->setObjectName(QStringLiteral("LFormat"));
    layout->addWidget(lExistingFormat_);
    // The program runs the server's tools as its administrator: the package sets the password.
    auto* passwordLabel = new QLabel(QStringLiteral("&Heslo správce databázového serveru (SYSDBA):"), page);
    eAdminPassword_ = new QLineEdit(choices_.adminPassword, page);
    eAdminPassword_->setObjectName(QStringLiteral("EHeslo"));
    eAdminPassword_->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(eAdminPassword_);
    layout->addWidget(passwordLabel);
    layout->addWidget(eAdminPassword_);
    connect(eAdminPassword_, &QLineEdit::textChanged, this,
            [this](const QString& text) { choices_.adminPassword = text; });
    // The package's server takes connections from this computer alone; the shop's workstations
    // need it on the network, which only the owner may allow.
    lLocalOnly_ = SetupTexts::Label(QString(), page);
    lLocalOnly_->setObjectName(QStringLiteral("LJenMistni"));
    layout->addWidget(lLocalOnly_);
    chNetwork_ = new QCheckBox(
        QStringLiteral("&Povolit připojení pracovních stanic (upravit nastavení serveru a restartovat ho)"),
        page);
    chNetwork_->setObjectName(QStringLiteral("ChSit"));
    layout->addWidget(chNetwork_);
    connect(chNetwork_, &QCheckBox::toggled, this, [this](bool on) { choices_.letWorkstationsIn = on; });
    layout->addWidget(SetupTexts::Label(SetupTexts::kGoOn, page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildServerLicencePage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Prosím přečtěte si Licenční ujednání (IPL).  Musíte souhlasit s podmínkami "
                       "ujednání, aby bylo možné server nainstalovat."),
        page));
    auto* row = new QHBoxLayout;
    auto* ipl = new QPushButton(QStringLiteral("Interbase Public License (IPL)"), page);
    ipl->setObjectName(QStringLiteral("BIpl"));
    auto* readme = new QPushButton(QStringLiteral("Firebird Server Information"), page);
    readme->setObjectName(QStringLiteral("BReadme"));
    row->addWidget(ipl);
    row->addWidget(readme);
    row->addStretch(1);
    layout->addLayout(row);
    const auto view = [this](const QString& name, const QString& title) {
        QFile file(SetupFile(name));
        const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        ShowTextViewer(this, title, text);
    };
    connect(ipl, &QPushButton::clicked, this, [view] {
        view(QStringLiteral("FB/IPLicense.txt"), QStringLiteral("Interbase Public License (IPL)"));
    });
    connect(readme, &QPushButton::clicked, this,
            [view] { view(QStringLiteral("FB/Readme.txt"), QStringLiteral("Firebird Server Information")); });
    chAgree_ = new QCheckBox(QStringLiteral("&Souhlasím s podmínkami Licenčního ujednání."), page);
    chAgree_->setObjectName(QStringLiteral("ChSouhlas"));
    chLater_ = new QCheckBox(QStringLiteral("Server budu instalovat později z externí instalace."), page);
    chLater_->setObjectName(QStringLiteral("ChPozdeji"));
    layout->addWidget(chAgree_);
    layout->addWidget(chLater_);
    // The server comes from the system's packages: say how when none was found.
    lServerPackages_ = SetupTexts::Label(Platform::ServerPackageHint().replace(u'\r', u'\n'), page);
    lServerPackages_->setObjectName(QStringLiteral("LServerPackages"));
    layout->addWidget(lServerPackages_);
    layout->addWidget(SetupTexts::Label(SetupTexts::kGoOn, page));
    layout->addStretch(1);
    connect(chAgree_, &QCheckBox::toggled, this, &TFMain_Setup::UpdateServerLicenceNext);
    connect(chLater_, &QCheckBox::toggled, this, [this](bool on) {
        choices_.serverLater = on;
        UpdateServerLicenceNext();
    });
    return page;
}

QWidget* TFMain_Setup::BuildFolderPage(bool app) {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SetupTexts::Label(
        app ? QStringLiteral("Průvodce instalací nainstaluje aplikaci do následující složky.")
            : QStringLiteral("Průvodce instalací nainstaluje databázi do následující složky."),
        page));
    layout->addWidget(
        SetupTexts::Label(QStringLiteral("Pro instalaci do jiné složky stiskněte tlačítko Vybrat."), page));
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Pokud si nepřejete aplikaci nainstalovat, stiskněte tlačítko Storno a "
                       "ukončete aplikaci."),
        page));
    auto* frame =
        new QGroupBox(app ? QStringLiteral(" Cílová složka ") : QStringLiteral(" Databázová složka "), page);
    auto* frameLayout = new QHBoxLayout(frame);
    QLabel* folder = SetupTexts::Label(QString(), frame);
    folder->setObjectName(app ? QStringLiteral("LAppFolder") : QStringLiteral("LDbFolder"));
    auto* choose = new QPushButton(QStringLiteral("&Vybrat"), frame);
    frameLayout->addWidget(folder, 1);
    frameLayout->addWidget(choose);
    layout->addWidget(frame);
    auto* freeRow = new QHBoxLayout;
    freeRow->addWidget(new QLabel(QStringLiteral("Volné místo na disku:"), page));
    QLabel* free = SetupTexts::Label(QString(), page);
    free->setObjectName(app ? QStringLiteral("LAppFree") : QStringLiteral("LDbFree"));
    freeRow->addWidget(free, 1);
    layout->addLayout(freeRow);
    auto* neededRow = new QHBoxLayout;
    neededRow->addWidget(new QLabel(QStringLiteral("Místo potřebné k instalaci:"), page));
    QLabel* needed = SetupTexts::Label(SetupTexts::Megabytes(1.2), page);
    neededRow->addWidget(needed, 1);
    layout->addLayout(neededRow);
    layout->addStretch(1);
    if (app) {
        lAppFolder_ = folder;
        lAppFree_ = free;
        lAppNeeded_ = needed;
    } else {
        lDbFolder_ = folder;
        lDbFree_ = free;
    }
    connect(choose, &QPushButton::clicked, this, [this, app] {
        const QString start = app ? choices_.appFolder : choices_.databaseFolder;
        const QString chosen = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Výběr složky pro uložení aplikace"), start);
        if (chosen.isEmpty())
            return;
        if (app)
            ChooseAppFolder(chosen);
        else
            ChooseDatabaseFolder(chosen);
    });
    return page;
}

QWidget* TFMain_Setup::BuildGroupPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    eGroup_ = new QLineEdit(choices_.group, page);
    eGroup_->setObjectName(QStringLiteral("EGroup"));
    layout->addWidget(eGroup_);
    groupList_ = new QListWidget(page);
    groupList_->setObjectName(QStringLiteral("GroupList"));
    layout->addWidget(groupList_, 1);
    chDesktop_ = new QCheckBox(QStringLiteral("Vytvořit zástupce aplikace také na ploše."), page);
    chDesktop_->setObjectName(QStringLiteral("ChPlocha"));
    chDesktop_->setChecked(true);
    layout->addWidget(chDesktop_);
    // Installing for every account, the owner ticks whose desktops get the shortcut.
    lDesktops_ = new QLabel(QStringLiteral("Zástupce na plochách uživatelů:"), page);
    layout->addWidget(lDesktops_);
    desktopList_ = new QListWidget(page);
    desktopList_->setObjectName(QStringLiteral("PlochyUzivatelu"));
    layout->addWidget(desktopList_);
    connect(desktopList_, &QListWidget::itemChanged, this, [this] {
        choices_.desktopAccounts.clear();
        for (int i = 0; i < desktopList_->count(); ++i) {
            if (desktopList_->item(i)->checkState() == Qt::Checked)
                choices_.desktopAccounts << desktopList_->item(i)->text();
        }
    });
    connect(chDesktop_, &QCheckBox::toggled, desktopList_, &QWidget::setEnabled);
    connect(groupList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { eGroup_->setText(item->text()); });
    connect(eGroup_, &QLineEdit::textChanged, this, [this](const QString& text) { choices_.group = text; });
    connect(chDesktop_, &QCheckBox::toggled, this, [this](bool on) { choices_.desktopShortcut = on; });
    return page;
}

QWidget* TFMain_Setup::BuildServerShortcutsPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel(QStringLiteral("Cesta a soubor, odkud se bude spouštět &aplikace:"), page);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    eAppPath_ = new QLineEdit(choices_.workstationAppPath, page);
    eAppPath_->setObjectName(QStringLiteral("EAppPath"));
    label->setBuddy(eAppPath_);
    auto* browse = new QPushButton(QStringLiteral("..."), page);
    row->addWidget(eAppPath_, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    layout->addStretch(1);
    connect(eAppPath_, &QLineEdit::textChanged, this,
            [this](const QString& text) { choices_.workstationAppPath = text; });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QString(), eAppPath_->text(),
                                                          QStringLiteral("Aplikace (*.exe)"));
        if (!file.isEmpty())
            eAppPath_->setText(file);
    });
    return page;
}

QWidget* TFMain_Setup::BuildReadyPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SetupTexts::Label(
        QStringLiteral("Stiskněte tlačítko Zpět pro opětovné zadání parametrů instalace nebo Storno "
                       "pro ukončení."),
        page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildProgressPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    lStep_ = SetupTexts::Label(QString(), page);
    lStep_->setObjectName(QStringLiteral("LKrok"));
    progressBar_ = new QProgressBar(page);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    layout->addWidget(lStep_);
    layout->addWidget(progressBar_);
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildFinishPage() {
    auto* page = BuildWelcomePage({QStringLiteral("Aplikace byla úspěšně nainstalována"),
                                   QStringLiteral("Videopůjčovna"), kProductName});
    auto* layout = qobject_cast<QVBoxLayout*>(page->layout());
    lFinishText_ =
        SetupTexts::Label(QStringLiteral("Stiskněte tlačítko Dokončit pro dokončení instalace."), page);
    layout->addWidget(lFinishText_);
    chStart_ = new QCheckBox(QStringLiteral("Spustit aplikaci po ukončení instalace."), page);
    chStart_->setObjectName(QStringLiteral("ChSpustit"));
    chStart_->setChecked(true);
    layout->addWidget(chStart_);
    lStarting_ = SetupTexts::Label(QStringLiteral("Spouštím aplikaci..."), page);
    lStarting_->setObjectName(QStringLiteral("LSpoustim"));
    lStarting_->hide();
    layout->addWidget(lStarting_);
    return page;
}
