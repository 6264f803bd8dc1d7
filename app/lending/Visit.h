#pragma once

#include "Pricing.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

class TSpecCena;

// One medium of the visit, as the cart of the counter shows it.
struct TCartRow {
    int kodTitul = 0;
    int kodNosic = 0;
    QString typNosice;
    QString nazevCesky;
    QString eanKod;
    QDate terminPujceni;
    int pocetDni = 1; // charged days of the loan, kept up to date by the visit
    QDate terminVraceni;
    QString uzivPujcil;
    QDateTime dPujceni; // when the loan was written; invalid for a loan of this visit
    double cenaPujcka = 0;
    QString uzivVraceno;
    QDate dVraceni; // the day it came back in this visit; invalid otherwise
    QString infoVraceni;
    QString duvodReklamace;
    QDate prodlouzeniDo; // the new due date of a loan on record extended in this visit

    enum class TKind { OnRecord, NewLoan, Returned, Complaint, Extended };
    TKind Kind() const;
    bool IsNewLoan() const { return Kind() == TKind::NewLoan; }
    bool IsExtended() const { return Kind() == TKind::Extended; }
    // The due date the loan has once the visit is paid.
    QDate Due() const { return IsExtended() ? prodlouzeniDo : terminVraceni; }
    bool IsBackToday() const { return dVraceni.isValid(); }
    bool IsComplaint() const { return Kind() == TKind::Complaint; }
    bool IsLate() const { return dVraceni.isValid() && dVraceni > terminVraceni; }
    TCartMoney Money() const;
};

// One reservation of the customer, stored or made in this visit.
struct TReservationRow {
    int kodTitul = 0;
    QString typNosice;
    QString nazevCesky;
    QString eanKod; // the title's code
    QDate terminPujceni;
    QDate terminVraceni;
    QString uzivRezerv;
    QDateTime dRezerv;    // when it was written; invalid for a reservation made or changed in this visit
    bool pujceno = false; // a new loan of this visit fulfils it
    // The first day the database holds for this row; invalid for a reservation of this visit.
    QDate storedTerminPujceni;
    bool changed = false; // a stored reservation moved in this visit

    bool IsStored() const { return storedTerminPujceni.isValid(); }
    bool IsPending() const { return !IsStored() || changed; }
};

// The colour state of a row, for the grids' legends.
enum class TLoanState { NewLoan, Overdue, OverdueBack, DueToday, DueTodayBack, Running, RunningBack };
enum class TReservationState { Fulfilled, Current, EndsToday, Future };

// A customer's visit at the counter, built in memory and written only by the payment: the cart
// (loans on record, new loans, returns, complaints) and the reservation list. Every change
// recomputes the flags and marks from the whole visit, so an undo never loses a charge or a
// cancelled reservation still in it.
class TVisit final {
public:
    explicit TVisit(TSpecCena& prices) : prices_(prices) {}

    // A freshly loaded customer: nothing pending.
    void Load(int kodZak, std::vector<TCartRow> cart, std::vector<TReservationRow> reservations);
    void Clear();
    // The loans on record read again after another counter changed some: this visit's new loans,
    // returns and complaints stay on the loans still open, returns of loans closed meanwhile go.
    void ReloadLoans(std::vector<TCartRow> onRecord);
    int KodZak() const { return kodZak_; }

    const std::vector<TCartRow>& Cart() const { return cart_; }
    const std::vector<TReservationRow>& Reservations() const { return reservations_; }
    // Stored reservations the clerk cancelled in this visit.
    const std::vector<TReservationRow>& Cancelled() const { return cancelled_; }

    // Adds a new loan; false when the same medium is already lent in this visit.
    bool Lend(TCartRow row);
    // The cart row of a medium on record, or -1.
    int FindMedium(int kodNosic) const;
    // The cart row of a medium of any kind, or -1.
    int FindAnyMedium(int kodNosic) const;
    // Books the return of the row's medium today.
    void Return(int row, const QDate& today, const QString& user, const QString& note);
    void Complain(int row, const QDate& today, const QString& user, const QString& reason);
    // Whether the row is a loan on record that can get a later due date in this visit.
    bool CanExtend(int row) const;
    void Extend(int row, const QDate& novyTermin);
    // What "Zpět" does for a row: a new loan goes, a return, complaint or extension becomes a
    // loan again.
    bool CanUndo(int row) const;
    void Undo(int row);

    // Whether the list already holds the title from that first day, besides the row given.
    bool HasReservation(int kodTitul, const QDate& first, int besidesRow = -1) const;
    void Reserve(TReservationRow row);
    void ChangeReservation(int row, const QDate& first, const QDate& end, const QString& user);
    void CancelReservation(int row);

    double Total() const;
    // The visit charges or refunds something: it writes a receipt and opens the payment dialog.
    bool ReceiptNeeded() const { return receiptNeeded_; }
    bool ReservationRemoved() const { return !cancelled_.empty(); }
    // Something of this visit waits for "Zaplatit / Rezervovat / Vrátit".
    bool Pending() const;
    int NewLoans() const;
    // The first loan on record the customer keeps more than blockDays past its due date, even
    // after this visit's returns and extensions; -1 when there is none.
    int BlockingLoan(const QDate& today, int blockDays) const;

    TLoanState LoanState(int row, const QDate& today) const;
    TReservationState ReservationState(int row, const QDate& today) const;

private:
    void Recompute();

    TSpecCena& prices_;
    int kodZak_ = 0;
    std::vector<TCartRow> cart_;
    std::vector<TReservationRow> reservations_;
    std::vector<TReservationRow> cancelled_;
    bool receiptNeeded_ = false;
};
