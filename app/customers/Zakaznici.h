#pragma once

#include "CustomerSql.h"
#include "Desk.h"
#include "Pictures.h"
#include "Transaction.h"

#include <QString>

#include <vector>

class TAppContext;
class TMoxButton;
class TMoxCheckBox;
class TMoxEdit;
class TMoxLabel;
class TMoxMemo;
class TMoxNumEdit;
class TPictureFrame;
class TSearchBrowse;
class QLabel;

// The customer register: finding customers by card, number or surname, registering, editing,
// making VIP and ending them, their photo, their card and the way to their history and loans.
class TFZakaznici final : public TDesk {
    Q_OBJECT
public:
    explicit TFZakaznici(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakaznici)

    void ShowDesk(bool flag = false) override;
    bool CanLeave() override;
    void LeaveDesk() override;
    void OpenRecord(int key) override;

    enum class TMode { Empty, View, Edit };
    TMode Mode() const { return mode_; }
    int Key() const { return key_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs a clerk's action; a failure is reported and the desk goes on.
    void Guarded(void (TFZakaznici::*action)());
    void BuildForm();
    void ConnectControls();
    void SetMode(TMode mode);
    void SetChanged();
    void ShowEnded(bool ended);
    void ClearFields();
    void UpdateVipEditable();
    TCustomerFields ReadFields() const;

    bool HledejKod(const QString& code);
    std::vector<int> HledejPrijmeni(const QString& surname);
    void CloseSearch();
    void LoadCustomer();
    void Zmenit();
    void VipClicked();
    void NovyZakaznik();
    void NacistFoto();
    void ZiskatFoto();
    void SmazatFoto();
    void NahledFoto();
    bool Ulozit();
    void RollbackQuietly();
    void PujcitVraceni();
    void Statistika();
    void Odeslat();
    void TiskPrukazky();
    QString JmenoPrijmeni() const;

    TAppContext& ctx_;
    TTransaction trDesk_;   // IBTransaction
    TTransaction trHledej_; // IBTransactionHledej
    int key_ = 0;
    TMode mode_ = TMode::Empty;
    bool loading_ = false;
    TPictureField foto_;
    TCustomerFields loaded_; // the fields as loaded: a save writes only what differs
    TSearchBrowse* search_ = nullptr;

    // Controls named as on the form.
    TMoxEdit* EHledejEAN = nullptr;
    TMoxEdit* EHledejPrijmeni = nullptr;
    TMoxButton* BHledej = nullptr;
    TMoxButton* BPredchozi = nullptr;
    TMoxButton* BNasledujici = nullptr;
    TMoxLabel* LFiltr = nullptr;
    TMoxLabel* LPocet = nullptr;

    TMoxEdit* EKodZak = nullptr;
    TMoxEdit* EEANKod = nullptr;
    TMoxEdit* ETitulPred = nullptr;
    TMoxEdit* EJmeno = nullptr;
    TMoxEdit* EPrijmeni = nullptr;
    TMoxEdit* ETitulZa = nullptr;
    TMoxEdit* EAdrUlice = nullptr;
    TMoxEdit* EAdrPSC = nullptr;
    TMoxEdit* EAdrObec = nullptr;
    TMoxEdit* ECisloOP = nullptr;
    TMoxEdit* EEmail = nullptr;
    TMoxEdit* ETelefon = nullptr;
    TMoxEdit* EMobilSMS = nullptr;
    TMoxCheckBox* ChPosilatNovinky = nullptr;
    TMoxCheckBox* ChVIP = nullptr;
    TMoxNumEdit* ECenaVIPDVD = nullptr;
    TMoxNumEdit* ECenaVIPVHS = nullptr;
    TMoxMemo* MPoznamky = nullptr;
    TPictureFrame* ImageFoto = nullptr;
    TMoxEdit* EDRegistrace = nullptr;
    TMoxEdit* EUzivReg = nullptr;
    TMoxEdit* EDZmeny = nullptr;
    TMoxEdit* EUzivZmena = nullptr;
    TMoxEdit* EDUkonceni = nullptr;
    TMoxEdit* EUzivUkoncil = nullptr;
    TMoxCheckBox* ChVyradit = nullptr;
    TMoxLabel* LVyrazen = nullptr;
    QLabel* LDUkonceni = nullptr;
    QLabel* LUzivUkoncil = nullptr;

    TMoxButton* BUlozit = nullptr;
    TMoxButton* BNovy = nullptr;
    TMoxButton* BZmenit = nullptr;
    TMoxButton* BTiskPrukazky = nullptr;
    TMoxButton* BStatistika = nullptr;
    TMoxButton* BPujcit = nullptr;
    TMoxButton* BOdeslat = nullptr;
    TMoxButton* BZiskatFoto = nullptr;
    TMoxButton* BNacistFoto = nullptr;
    TMoxButton* BSmazatFoto = nullptr;

    std::vector<QWidget*> fields_;    // everything the display modes switch
    std::vector<TMoxEdit*> editable_; // one-line fields the clerk writes
};
