#pragma once

#include "GlobDB.h"
#include "PrintSettings.h"
#include "SettingsData.h"
#include "SettingsPage.h"
#include "UsersData.h"

#include <QString>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QSpinBox;
class TMemTable;
class TMoxButton;
class TMoxCheckBox;
class TMoxComboBox;
class TMoxEdit;
class TMoxGrid;
class TMoxMemo;
class TMoxNumEdit;

// "Půjčky": customer discounts and the days the shop charges for.
class TPagePujcky final : public TSettingsPage {
    Q_OBJECT
public:
    TPagePujcky(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;

protected:
    bool Save() override;

private:
    TMemTable* slevy_;
    TMoxGrid* GridSlevy = nullptr;
    std::array<TMoxCheckBox*, 7> days_{};
    TMoxCheckBox* ChBlokPujceni = nullptr;
    TMoxNumEdit* EBlokDny = nullptr;
};

// "Uživatelé": the program's users, their rights and blocking.
class TPageUzivatele final : public TSettingsPage {
    Q_OBJECT
public:
    TPageUzivatele(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;

    // Reloads the list in the grid's order and goes back to the user of that key if still there.
    void LoadList(int keepKey);
    void NewUser();
    void EditUser();
    void ClearUserPassword();

protected:
    bool Save() override;

private:
    void ShowRow(int row);
    void SetEditable(bool editable);
    TUserInput Input() const;

    TMemTable* users_;
    int key_ = -1;
    int shownRow_ = -1;
    TMoxGrid* GridUziv = nullptr;
    TMoxEdit* EUzivatel = nullptr;
    QRadioButton* RAdmin = nullptr;
    QRadioButton* RVedouci = nullptr;
    QRadioButton* RProdejce = nullptr;
    TMoxCheckBox* ChPovoleni = nullptr;
    TMoxEdit* ETitulPred = nullptr;
    TMoxEdit* EJmeno = nullptr;
    TMoxEdit* EPrijmeni = nullptr;
    TMoxEdit* ETitulZa = nullptr;
    TMoxEdit* EEmail = nullptr;
    TMoxEdit* ETelefon = nullptr;
    TMoxMemo* MPoznamky = nullptr;
    TMoxButton* BNovyUziv = nullptr;
    TMoxButton* BEditUziv = nullptr;
    TMoxButton* BVymazHeslo = nullptr;
};

// "Pobočka": the shop's identity on receipts and reports, and its logo.
class TPagePobocka final : public TSettingsPage {
    Q_OBJECT
public:
    TPagePobocka(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;
    // Takes the logo from a BMP file; false (after a warning) when it is not one.
    bool LoadLogo(const QString& fileName);
    void ClearLogo();

protected:
    bool Save() override;

private:
    void ShowLogo();
    TBranch Input() const;

    TBranch loaded_;
    QByteArray logo_;
    QString logoFolder_;
    TMoxEdit* EJmeno = nullptr;
    TMoxEdit* EUlice = nullptr;
    TMoxEdit* EObec = nullptr;
    TMoxEdit* EPsc = nullptr;
    TMoxEdit* EIc = nullptr;
    TMoxEdit* EDic = nullptr;
    TMoxEdit* ETel = nullptr;
    TMoxEdit* EFax = nullptr;
    TMoxEdit* EEmail = nullptr;
    TMoxEdit* EWeb = nullptr;
    TMoxMemo* MTextDoklad = nullptr;
    QLabel* ILogo = nullptr;
    TMoxButton* BNacistLogo = nullptr;
    TMoxButton* BSmazatLogo = nullptr;
};

// "Prostředí": VAT, currency, VIP prices, mail and text messages, the titles' code lists.
class TPageProstredi final : public TSettingsPage {
    Q_OBJECT
public:
    TPageProstredi(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;

protected:
    bool Save() override;

private:
    void FillRentalVat(const QString& dphPujcka);
    TEnvironment Input() const;

    TEnvironment loaded_;
    std::array<TMemTable*, 4> lists_{};
    TMoxNumEdit* EDphA = nullptr;
    TMoxNumEdit* EDphB = nullptr;
    TMoxEdit* EMena = nullptr;
    TMoxComboBox* CBDphPujcka = nullptr;
    TMoxCheckBox* ChPlatceDph = nullptr;
    TMoxNumEdit* EVipDvd = nullptr;
    TMoxNumEdit* EVipVhs = nullptr;
    TMoxEdit* EEmaily = nullptr;
    TMoxEdit* EOdesilatel = nullptr;
    TMoxEdit* EHost = nullptr;
    TMoxEdit* EPort = nullptr;
    TMoxEdit* ESmsLogin = nullptr;
    TMoxEdit* ESmsHeslo = nullptr;
    TMoxEdit* EUpominkaSubj = nullptr;
    TMoxMemo* MUpominkaText = nullptr;
};

// "Databáze": the connection and the server's tools, backup, restore and a new database.
class TPageDatabaze final : public TSettingsPage {
    Q_OBJECT
public:
    // Starts the program anew and ends this one, after a new database was made.
    using TRestart = std::function<void()>;

    TPageDatabaze(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;
    void SetSettingsOnly(bool settingsOnly) { settingsOnly_ = settingsOnly; }
    void SetRestart(TRestart restart) { restart_ = std::move(restart); }

    void Backup();
    // Restores the backup of that full path after the clerk confirms.
    void Restore(const QString& backupFile);
    void CreateNewDatabase();

protected:
    bool Save() override;

private:
    TDbConfig Input() const;
    // The page's own unsaved values are saved or dropped first; then nothing is left open.
    bool ReadyForTool();
    void AskForRestore();

    bool settingsOnly_ = false;
    TRestart restart_;
    TMoxEdit* EServer = nullptr;
    TMoxEdit* ESoubor = nullptr;
    TMoxEdit* EGbak = nullptr;
    TMoxEdit* EGsec = nullptr;
    TMoxCheckBox* ChService = nullptr;
    TMoxEdit* EUzivatel = nullptr;
    TMoxEdit* EHeslo = nullptr;
    TMoxEdit* EZaloha = nullptr;
    TMoxNumEdit* EPocetZaloh = nullptr;
    TMoxButton* BZaloha = nullptr;
    TMoxCheckBox* ChDenniZaloha = nullptr;
    TMoxButton* BZalohovat = nullptr;
    TMoxButton* BObnovit = nullptr;
    TMoxButton* BNovaDB = nullptr;
};

// "Tisk": the receipt printer of this computer.
class TPageTisk final : public TSettingsPage {
    Q_OBJECT
public:
    TPageTisk(TAppContext& context, QWidget* parent);
    void Load() override;
    QWidget* FirstInput() override;
    // The serial-port dialog for port 1 or 2.
    void EditSerial(int port);

protected:
    bool Save() override;

private:
    TPrintSettings Input() const;

    TPrintSettings settings_;
    QButtonGroup* coding_ = nullptr;
    QButtonGroup* device_ = nullptr;
    QSpinBox* ESirka = nullptr;
    TMoxCheckBox* ChStrih = nullptr;
    QSpinBox* EPred = nullptr;
    QSpinBox* EPoStrihu = nullptr;
    QSpinBox* EPo = nullptr;
    TMoxEdit* ESlozka = nullptr;
};
