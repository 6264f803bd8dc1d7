#pragma once

#include "Desk.h"
#include "MediumLookup.h"
#include "Transaction.h"
#include "Visit.h"
#include "VisitLoad.h"

#include <optional>
#include <vector>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxEdit;
class TMoxGrid;
class TMoxLabel;
class TMoxMemo;
class TMoxNumEdit;
class TPictureFrame;
class TSearchBrowse;

// The counter: the clerk finds the customer by card, number or surname, builds the visit
// (media lent, returned, complained about, reservations) and writes it all with one payment.
class TFPujcky final : public TDesk {
    Q_OBJECT
public:
    explicit TFPujcky(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFPujcky)

    void ShowDesk(bool flag = false) override;
    bool CanLeave() override;
    void LeaveDesk() override;
    void OpenRecord(int key) override;

    const TVisit& Visit() const { return visit_; }
    int CustomerKey() const { return customer_ ? customer_->kodZak : 0; }

private:
    void BuildForm();
    QWidget* BuildCustomerPanel();
    QWidget* BuildButtons();
    void BuildGrids();
    void Guarded(void (TFPujcky::*action)());

    bool FindCode(const QString& code);
    // A medium's label read into the card field: its borrower is shown and its return opens.
    bool ReturnFromCustomerField(const QString& code);
    // A card read over an unpaid visit: Ano pays it, Ne drops it, Zpět keeps it (false).
    bool SaveBeforeCard();
    std::vector<int> FindSurname(const QString& surname);

    void LoadCustomer(int key);
    void ShowNoCustomer();
    void ReloadVisit();
    void Refresh();
    void UpdateButtons();
    static QString UndoCaption(const TCartRow& row);
    void ShowCart();
    void ShowReservations();

    void Pujcit() { PujcitNosic({}); }
    void Vratit() { VratitNosic({}); }
    // With a code, the dialog opens on that medium already found.
    void PujcitNosic(const QString& scanned);
    void VratitNosic(const QString& scanned);
    // A label read at "Půjčit nosič": a medium the customer shown has on loan comes back, any
    // other is lent.
    void ScannedAtCounter(const QString& code);
    // Where the next label read goes after the card and after every medium.
    void FocusNextScan();
    void Reklamace();
    // Whether the shop's borrowing block stops lending to the customer; says why when it does.
    bool Blocked();
    // The cart row of a medium coming back, after switching to its borrower; -1 when it is not there.
    int BorrowersRow(const TMediumOnLoan& medium, const QString& notFound);
    void ReservationNotice(int kodTitul);
    void Rezervace();
    void ZmenaRezervace();
    void Zpet();
    // A later due date for the loan on record in the current row.
    void Prodlouzit();
    bool Zaplatit();
    void ZaplatitClicked() { Zaplatit(); }
    // The cart as the database has it now, with the visit's changes kept and the medium in
    // conflict selected.
    void ShowConflict(int kodNosic);
    void OpenPayment(int kodDok, double total);
    void Detail();
    void Statistika();
    void Zalohy();
    void NahledFoto();
    void PoTerminu();

    TAppContext& ctx_;
    TTransaction trDesk_; // IBTransaction
    TVisit visit_;
    std::optional<TCounterCustomer> customer_;
    TSearchBrowse* search_ = nullptr;
    int preselectedMedium_ = -1;
    int changingReservation_ = -1;
    bool pending_ = false; // "Zaplatit / Rezervovat / Vrátit" is enabled

    TMemTable* tablePujcky_;
    TMemTable* tableRezerv_;

    TMoxEdit* EHledejEAN = nullptr;
    TMoxEdit* EHledejPrijmeni = nullptr;
    TMoxButton* BHledej = nullptr;
    TMoxButton* BPredchozi = nullptr;
    TMoxButton* BNasledujici = nullptr;
    TMoxLabel* LPocet = nullptr;
    TMoxLabel* LFiltr = nullptr;
    TMoxButton* BPoTerminu = nullptr;

    TMoxEdit* EJmeno = nullptr;
    TMoxEdit* EAdresa = nullptr;
    TMoxEdit* EDRegistrace = nullptr;
    TMoxMemo* MPoznamky = nullptr;
    TPictureFrame* ImageFoto = nullptr;
    TMoxLabel* LVip = nullptr;
    TMoxLabel* LVyrazen = nullptr;
    TMoxNumEdit* EZaloha = nullptr;
    TMoxLabel* LZalohaZnak = nullptr;
    TMoxNumEdit* EPujceno = nullptr;
    TMoxNumEdit* ECelkemPujceno = nullptr;
    TMoxNumEdit* ECenaCelkem = nullptr;
    std::vector<QWidget*> panel_; // what is enabled only with a customer

    TMoxButton* BDetail = nullptr;
    TMoxButton* BStatistika = nullptr;
    TMoxButton* BZalohy = nullptr;
    TMoxButton* BPujcit = nullptr;
    TMoxButton* BVratit = nullptr;
    TMoxButton* BReklamace = nullptr;
    TMoxButton* BRezervace = nullptr;
    TMoxButton* BZmenaRezervace = nullptr;
    TMoxButton* BZpet = nullptr;
    TMoxButton* BProdlouzit = nullptr;
    TMoxButton* BZaplatit = nullptr;
    TMoxGrid* GridPujcky = nullptr;
    TMoxGrid* GridRezerv = nullptr;
};
