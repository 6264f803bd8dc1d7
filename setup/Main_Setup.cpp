#include "Main_Setup.h"

#include "DbError.h"
#include "RtfText.h"
#include "SetupMessage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
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
const QString kGoOn =
    QStringLiteral("Stiskněte tlačítko Další pro pokračování nebo Storno pro přerušení instalace.");

// The installation stops at the next step when the user cancels it.
class ECancelled final : public std::exception {};

QLabel* Label(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QString Megabytes(double mb) {
    return QString::number(mb, 'f', 1).replace(u'.', u',') + QStringLiteral(" MB");
}

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
    headerDescription_ = Label(QString(), header_);
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

QWidget* TFMain_Setup::BuildWelcomePage(const QStringList& lines, QLabel** waiting) {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    auto* texts = new QWidget(page);
    auto* textLayout = new QVBoxLayout(texts);
    textLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* label = Label(lines.at(i), texts);
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
        *waiting = Label(QStringLiteral("Probíhá příprava instalace čekejte prosím..."), page);
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
    layout->addWidget(
        Label(QStringLiteral("Databázový server slouží k ukládání dat, aplikace zprostředkovává data a "
                             "spouští všechny funkce. Vždy se instaluje pouze jednou na celou prodejnu "
                             "(počítačovou síť)."),
              page));
    chWorkstation_ = new QCheckBox(QStringLiteral("Instalovat pracovní stanici."), page);
    chWorkstation_->setObjectName(QStringLiteral("ChStanice"));
    chWorkstation_->setChecked(true);
    layout->addWidget(chWorkstation_);
    layout->addWidget(Label(
        QStringLiteral("Instaluje se na počítač, odkud se bude systém spouštět (pracovní stanice)."), page));
    lInstalledBefore_ =
        Label(QStringLiteral("Již naistalované součásti lze takto odebrat. K odebrání některé součásti "
                             "spusťte Odinstalaci aplikace."),
              page);
    lInstalledBefore_->hide();
    layout->addWidget(lInstalledBefore_);
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
    layout->addWidget(Label(
        QStringLiteral("Na vašem počítači je již nainstalovaná stará verze databáze Interbase/Firebird:"),
        page));
    lOldName_ = Label(QString(), page);
    lOldVersion_ = Label(QString(), page);
    lOldFile_ = Label(QString(), page);
    layout->addWidget(lOldName_);
    layout->addWidget(lOldVersion_);
    layout->addWidget(lOldFile_);
    layout->addWidget(
        Label(QStringLiteral("Nejdříve odeberte starou verzi databáze InterBase/Firebird ze systému a "
                             "potom můžete v instalaci aplikace pokračovat."),
              page));
    layout->addWidget(Label(QStringLiteral("Stiskněte tlačítko Storno pro ukončení instalace."), page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildExistingServerPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label(QStringLiteral("Na vašem počítači je již nainstalovaná databáze:"), page));
    lExisting_ = Label(QString(), page);
    lExisting_->setObjectName(QStringLiteral("LExisting"));
    layout->addWidget(lExisting_);
    lExistingVerdict_ = Label(QString(), page);
    lExistingVerdict_->setObjectName(QStringLiteral("LVerdict"));
    layout->addWidget(lExistingVerdict_);
    lExistingUpdate_ =
        Label(QStringLiteral("Firebird Database Server, verze 6.2.3.972 (Firebird 1.0.3)"), page);
    layout->addWidget(lExistingUpdate_);
    lExistingWarning_ =
        Label(QStringLiteral("Správnou činnost aplikací, které používali původní databázi, nelze "
                             "zaručit. Proveďte zálohu databází a po instalaci je obnovte. S "
                             "případnými problémy se obraťte na výrobce vašich programů."),
              page);
    layout->addWidget(lExistingWarning_);
    layout->addWidget(Label(kGoOn, page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildServerLicencePage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        Label(QStringLiteral("Prosím přečtěte si Licenční ujednání (IPL).  Musíte souhlasit s podmínkami "
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
    lServerPackages_ = Label(Platform::ServerPackageHint().replace(u'\r', u'\n'), page);
    lServerPackages_->setObjectName(QStringLiteral("LServerPackages"));
    layout->addWidget(lServerPackages_);
    layout->addWidget(Label(kGoOn, page));
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
    layout->addWidget(
        Label(app ? QStringLiteral("Průvodce instalací nainstaluje aplikaci do následující složky.")
                  : QStringLiteral("Průvodce instalací nainstaluje databázi do následující složky."),
              page));
    layout->addWidget(Label(QStringLiteral("Pro instalaci do jiné složky stiskněte tlačítko Vybrat."), page));
    layout->addWidget(
        Label(QStringLiteral("Pokud si nepřejete aplikaci nainstalovat, stiskněte tlačítko Storno a "
                             "ukončete aplikaci."),
              page));
    auto* frame =
        new QGroupBox(app ? QStringLiteral(" Cílová složka ") : QStringLiteral(" Databázová složka "), page);
    auto* frameLayout = new QHBoxLayout(frame);
    QLabel* folder = Label(QString(), frame);
    folder->setObjectName(app ? QStringLiteral("LAppFolder") : QStringLiteral("LDbFolder"));
    auto* choose = new QPushButton(QStringLiteral("&Vybrat"), frame);
    frameLayout->addWidget(folder, 1);
    frameLayout->addWidget(choose);
    layout->addWidget(frame);
    auto* freeRow = new QHBoxLayout;
    freeRow->addWidget(new QLabel(QStringLiteral("Volné místo na disku:"), page));
    QLabel* free = Label(QString(), page);
    free->setObjectName(app ? QStringLiteral("LAppFree") : QStringLiteral("LDbFree"));
    freeRow->addWidget(free, 1);
    layout->addLayout(freeRow);
    auto* neededRow = new QHBoxLayout;
    neededRow->addWidget(new QLabel(QStringLiteral("Místo potřebné k instalaci:"), page));
    QLabel* needed = Label(Megabytes(1.2), page);
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
    layout->addWidget(
        Label(QStringLiteral("Stiskněte tlačítko Zpět pro opětovné zadání parametrů instalace nebo Storno "
                             "pro ukončení."),
              page));
    layout->addStretch(1);
    return page;
}

QWidget* TFMain_Setup::BuildProgressPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    lStep_ = Label(QString(), page);
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
    lFinishText_ = Label(QStringLiteral("Stiskněte tlačítko Dokončit pro dokončení instalace."), page);
    layout->addWidget(lFinishText_);
    chStart_ = new QCheckBox(QStringLiteral("Spustit aplikaci po ukončení instalace."), page);
    chStart_->setObjectName(QStringLiteral("ChSpustit"));
    chStart_->setChecked(true);
    layout->addWidget(chStart_);
    lStarting_ = Label(QStringLiteral("Spouštím aplikaci..."), page);
    lStarting_->setObjectName(QStringLiteral("LSpoustim"));
    lStarting_->hide();
    layout->addWidget(lStarting_);
    return page;
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
        }
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
                           : Megabytes(static_cast<double>(free) / 1048576.0));
    if (app)
        lAppNeeded_->setText(Megabytes(choices_.installServer ? 10.2 : 5.6));
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
        if (choices_.installApp && !EnoughSpace(choices_.appFolder, choices_.installServer ? 10.2 : 5.6))
            return;
        ShowPage(TPage::DbFolder, true);
        break;
    case TPage::DbFolder:
        if (choices_.installApp && !choices_.installWorkstation && !EnoughSpace(choices_.databaseFolder, 1.2))
            return;
        ShowPage(TPage::Group, true);
        break;
    case TPage::Group:
        ShowPage(TPage::ServerShortcuts, true);
        break;
    case TPage::ServerShortcuts:
        ShowPage(TPage::Ready, true);
        break;
    case TPage::Ready:
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
        SetupMessage(this, kErrorTitle, e.Message(), TSetupIcon::Error, TSetupButtons::Ok);
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
