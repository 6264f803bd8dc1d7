#include "AppContext.h"
#include "DbError.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "NastaveniPages.h"
#include "ObnovaZalohy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QProcess>
#include <QVBoxLayout>

namespace {

#ifdef Q_OS_WIN
const QString kPrograms = QStringLiteral("Aplikace (*.exe)");
#else
const QString kPrograms = QStringLiteral("Aplikace (*)");
#endif

void StartAgain() {
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    QCoreApplication::exit(0);
}

} // namespace

TPageDatabaze::TPageDatabaze(TAppContext& context, QWidget* parent)
    : TSettingsPage(context, "BUlozDatabaze", parent), restart_(StartAgain) {
    const auto edit = [this](const char* name) {
        auto* field = Named(new TMoxEdit(this), name);
        Watch(field, &QLineEdit::textEdited);
        return field;
    };
    const auto check = [this](const QString& text, const char* name) {
        auto* box = Named(new TMoxCheckBox(text, this), name);
        connect(box, &TMoxCheckBox::changed, this, [this] { MarkChanged(); });
        return box;
    };
    EServer = edit("EServer");
    ESoubor = edit("ESoubor");
    EGbak = edit("EGbak");
    EGsec = edit("EGsec");
    ChService =
        check(QStringLiteral("Zálo&hování a obnovu databáze spouštět jako službu na serveru."), "ChService");
    EUzivatel = edit("EUzivatel");
    EHeslo = edit("EHeslo");
    EHeslo->setEchoMode(QLineEdit::Password);
    // Typed characters show as '*'.
    EHeslo->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    EZaloha = edit("EZaloha");
    EPocetZaloh = Named(new TMoxNumEdit(this), "EPocetZaloh");
    EPocetZaloh->setDecimal(0);
    EPocetZaloh->setMinValue(1);
    EPocetZaloh->setMaxValue(999);
    Watch(EPocetZaloh, &QLineEdit::textEdited);
    ChDenniZaloha =
        check(QStringLiteral("Zá&lohovat databázi vždy při spuštění denní uzávěrky."), "ChDenniZaloha");
    BZalohovat = Named(new TMoxButton(QStringLiteral("Zálohov&at"), this), "BZalohovat");
    BObnovit = Named(new TMoxButton(QStringLiteral("Obnovit ze zálohy"), this), "BObnovit");
    BNovaDB = Named(new TMoxButton(QStringLiteral("Vytvořit novou DB"), this), "BNovaDB");
    BNovaDB->setEnabled(false);
    connect(BZalohovat, &QPushButton::clicked, this, &TPageDatabaze::Backup);
    connect(BObnovit, &QPushButton::clicked, this, &TPageDatabaze::AskForRestore);
    connect(BNovaDB, &QPushButton::clicked, this, &TPageDatabaze::CreateNewDatabase);

    const auto tool = [this](TMoxEdit* field, const QString& caption, const char* name) {
        auto* button = Named(new TMoxButton(QStringLiteral("..."), this), name);
        connect(button, &QPushButton::clicked, this, [this, field, caption] {
            const QString file =
                QFileDialog::getOpenFileName(this, QString(caption).remove(u'&'), field->text(), kPrograms);
            if (!file.isEmpty()) {
                field->setText(file);
                MarkChanged();
            }
        });
        return button;
    };
    const QString gbakCaption = QStringLiteral("Cesta k souboru G&BAK.EXE (zálohovací aplikace Firebird):");
    const QString gsecCaption = QStringLiteral("Cesta k souboru &GSEC.EXE (bezpečnostní aplikace Firebird):");
    auto* bGbak = tool(EGbak, gbakCaption, "BGbak");
    auto* bGsec = tool(EGsec, gsecCaption, "BGsec");
    BZaloha = Named(new TMoxButton(QStringLiteral("..."), this), "BZaloha");
    connect(BZaloha, &QPushButton::clicked, this,
            [this] { ChooseFolderInto(EZaloha, QStringLiteral("Vybrat složku pro zálohu databáze")); });
    connect(ChService, &TMoxCheckBox::changed, this,
            [this] { BZaloha->setEnabled(!ChService->isChecked()); });

    auto* form = new QGridLayout;
    int line = 0;
    const auto add = [&](const QString& caption, QWidget* field, QWidget* button = nullptr) {
        form->addWidget(Caption(caption, field, this), line++, 0, 1, 2);
        form->addWidget(field, line, 0);
        if (button)
            form->addWidget(button, line, 1);
        ++line;
    };
    add(QStringLiteral("&Jméno nebo IP adresa databázového serveru:"), EServer);
    add(QStringLiteral("Úplná cesta k databázovému &souboru – z pohladu serveru (*.GDB):"), ESoubor);
    add(gbakCaption, EGbak, bGbak);
    add(gsecCaption, EGsec, bGsec);
    form->addWidget(ChService, line++, 0, 1, 2);
    form->addWidget(new TMoxLabel(QStringLiteral("Přihlášení k databázovému serveru (administrátor)"), this),
                    line++, 0, 1, 2);
    auto* login = new QHBoxLayout;
    login->addWidget(Caption(QStringLiteral("Uži&vatel:"), EUzivatel, this));
    login->addWidget(EUzivatel);
    login->addWidget(Caption(QStringLiteral("Hesl&o:"), EHeslo, this));
    login->addWidget(EHeslo);
    form->addLayout(login, line++, 0, 1, 2);
    add(QStringLiteral("Slo&žka pro uložení zálohy databáze:"), EZaloha, BZaloha);
    auto* kept = new QHBoxLayout;
    kept->addWidget(
        Caption(QStringLiteral("&Počet uchovávaných záloh (starší se mažou):"), EPocetZaloh, this));
    kept->addWidget(EPocetZaloh);
    kept->addStretch();
    form->addLayout(kept, line++, 0, 1, 2);
    form->addWidget(ChDenniZaloha, line++, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BZalohovat);
    buttons->addWidget(BObnovit);
    buttons->addWidget(BNovaDB);
    buttons->addStretch();
    buttons->addWidget(BUloz);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addStretch();
    page->addLayout(buttons);
}

void TPageDatabaze::Load() {
    const TLoading loading(*this);
    const TDbConfig& c = context_.Db().Config;
    EServer->setText(c.Server);
    ESoubor->setText(c.FileName);
    EGbak->setText(c.GBAKFile);
    EGsec->setText(c.GSECFile);
    ChService->setChecked(c.Service);
    EUzivatel->setText(c.UserName);
    EHeslo->setText(c.Password);
    EZaloha->setText(c.BackupDirectory);
    EPocetZaloh->setValueInt(c.BackupsKept);
    ChDenniZaloha->setChecked(c.DailyBackup);
    BZaloha->setEnabled(!c.Service);
    BNovaDB->setEnabled(settingsOnly_);
    MarkSaved();
}

QWidget* TPageDatabaze::FirstInput() {
    return EServer;
}

TDbConfig TPageDatabaze::Input() const {
    TDbConfig c;
    c.Server = EServer->text().trimmed();
    c.FileName = ESoubor->text().trimmed();
    c.GBAKFile = EGbak->text().trimmed();
    c.GSECFile = EGsec->text().trimmed();
    c.Service = ChService->isChecked();
    c.DailyBackup = ChDenniZaloha->isChecked();
    c.BackupDirectory = EZaloha->text().trimmed();
    c.BackupsKept = EPocetZaloh->valueInt();
    c.UserName = EUzivatel->text().trimmed();
    c.Password = EHeslo->text();
    return c;
}

bool TPageDatabaze::Save() {
    const bool restart = SaveDatabaseSettings(context_.Db(), Input());
    MarkSaved();
    if (restart)
        Inform(QStringLiteral("Provedené změny se projeví až po dalším spuštění aplikace."));
    return true;
}

bool TPageDatabaze::ReadyForTool() {
    return CanLeavePage();
}

void TPageDatabaze::Backup() {
    if (!ReadyForTool())
        return;
    const QString text = QStringLiteral("Zálohuji databázi...");
    QString file;
    try {
        const TWaitBox wait(text);
        file = context_.Db().BackupDatabase(WaitProgress(text));
    } catch (const ECinemonError& e) {
        ReportError(e.Message());
        return;
    }
    Inform(QStringLiteral("Záloha databáze byla uložena do souboru:\r") + file);
}

void TPageDatabaze::AskForRestore() {
    if (!ReadyForTool())
        return;
    TFObnovaZalohy dialog(this);
    if (ExecModal(dialog) == QDialog::Accepted)
        Restore(dialog.BackupFile());
}

void TPageDatabaze::Restore(const QString& backupFile) {
    if (Ask(QStringLiteral(
            "Pozor! Obnovou ze zálohy ztratíte všechna data, která v záloze nejsou!\rOpravdu "
            "pokračovat v obnově databáze?\r\rNenávratně budou ztraceny všechny změny, které\rbyly "
            "provedeny v databázi po vytvoření zálohy.\r\rPřed obnovou se přesvědčte, že databázi "
            "nikdo nepoužívá.")) != TMsgResult::Yes)
        return;
    const QString text = QStringLiteral("Počkejte na obnovu databáze...");
    try {
        const TWaitBox wait(text);
        context_.Db().RestoreDatabase(backupFile, WaitProgress(text));
    } catch (const ECinemonError& e) {
        ReportError(e.Message());
        return;
    }
    // The desks and the shared records still hold the data of the replaced database.
    Inform(QStringLiteral("Databáze byla úspěšně obnovena ze zálohy.\r\rProgram bude nyní restartován."));
    restart_();
}

void TPageDatabaze::CreateNewDatabase() {
    if (Ask(QStringLiteral(
            "Pozor! Vytvořením nové databáze ztratíte veškerá data!\rOpravu pokračovat v obnově "
            "databáze?\r\rNenávratně budou ztraceny všechny změny, které\rbyly provedeny v "
            "databázi.\r\rPřed obnovou se přesvědčte, že databázi nikdo nepoužívá.")) != TMsgResult::Yes)
        return;
    try {
        const TWaitBox wait(QStringLiteral("Počkejte na vytvoření databáze..."));
        context_.Db().CreateDatabase();
    } catch (const ECinemonError& e) {
        ReportError(e.Message());
        return;
    }
    Inform(QStringLiteral("Databáze byla úspěšně vytvořena.\r\rProgram bude nyní restartován."));
    restart_();
}
