#include "Visit.h"

#include "PriceSettings.h"

#include <algorithm>

TCartRow::TKind TCartRow::Kind() const {
    if (!dPujceni.isValid())
        return TKind::NewLoan;
    if (!dVraceni.isValid())
        return prodlouzeniDo.isValid() ? TKind::Extended : TKind::OnRecord;
    return duvodReklamace.trimmed().isEmpty() ? TKind::Returned : TKind::Complaint;
}

TCartMoney TCartRow::Money() const {
    return {terminPujceni, terminVraceni, cenaPujcka, IsNewLoan(), dVraceni, duvodReklamace};
}

void TVisit::Load(int kodZak, std::vector<TCartRow> cart, std::vector<TReservationRow> reservations) {
    kodZak_ = kodZak;
    cart_ = std::move(cart);
    reservations_ = std::move(reservations);
    cancelled_.clear();
    Recompute();
}

void TVisit::Clear() {
    Load(0, {}, {});
}

void TVisit::ReloadLoans(std::vector<TCartRow> onRecord) {
    for (TCartRow& fresh : onRecord) {
        const int old = FindMedium(fresh.kodNosic);
        if (old < 0)
            continue;
        const TCartRow& before = cart_[static_cast<std::size_t>(old)];
        fresh.dVraceni = before.dVraceni;
        fresh.uzivVraceno = before.uzivVraceno;
        fresh.infoVraceni = before.infoVraceni;
        fresh.duvodReklamace = before.duvodReklamace;
        // An extension still reaches past the due date another counter may have set meanwhile.
        if (before.prodlouzeniDo > fresh.terminVraceni)
            fresh.prodlouzeniDo = before.prodlouzeniDo;
    }
    for (TCartRow& row : cart_)
        if (row.IsNewLoan())
            onRecord.push_back(std::move(row));
    cart_ = std::move(onRecord);
    Recompute();
}

bool TVisit::Lend(TCartRow row) {
    const bool inCart = std::any_of(cart_.begin(), cart_.end(), [&](const TCartRow& r) {
        return r.IsNewLoan() && r.kodNosic == row.kodNosic;
    });
    if (inCart)
        return false;
    row.dPujceni = {};
    row.dVraceni = {};
    cart_.push_back(std::move(row));
    Recompute();
    return true;
}

int TVisit::FindMedium(int kodNosic) const {
    for (std::size_t i = 0; i < cart_.size(); ++i)
        if (cart_[i].kodNosic == kodNosic && !cart_[i].IsNewLoan())
            return static_cast<int>(i);
    return -1;
}

void TVisit::Return(int row, const QDate& today, const QString& user, const QString& note) {
    TCartRow& r = cart_.at(static_cast<std::size_t>(row));
    r.dVraceni = today;
    r.uzivVraceno = user;
    // What comes back today needs no later due date.
    r.prodlouzeniDo = {};
    // A complaint of this visit stays one: the return only adds its note.
    r.infoVraceni = note;
    Recompute();
}

void TVisit::Complain(int row, const QDate& today, const QString& user, const QString& reason) {
    TCartRow& r = cart_.at(static_cast<std::size_t>(row));
    r.dVraceni = today;
    r.uzivVraceno = user;
    r.duvodReklamace = reason;
    r.prodlouzeniDo = {};
    Recompute();
}

bool TVisit::CanExtend(int row) const {
    if (row < 0 || row >= static_cast<int>(cart_.size()))
        return false;
    const TCartRow::TKind kind = cart_[static_cast<std::size_t>(row)].Kind();
    return kind == TCartRow::TKind::OnRecord || kind == TCartRow::TKind::Extended;
}

void TVisit::Extend(int row, const QDate& novyTermin) {
    if (!CanExtend(row))
        return;
    TCartRow& r = cart_.at(static_cast<std::size_t>(row));
    r.prodlouzeniDo = novyTermin > r.terminVraceni ? novyTermin : QDate();
    Recompute();
}

int TVisit::FindAnyMedium(int kodNosic) const {
    for (std::size_t i = 0; i < cart_.size(); ++i)
        if (cart_[i].kodNosic == kodNosic)
            return static_cast<int>(i);
    return -1;
}

bool TVisit::CanUndo(int row) const {
    if (row < 0 || row >= static_cast<int>(cart_.size()))
        return false;
    return cart_[static_cast<std::size_t>(row)].Kind() != TCartRow::TKind::OnRecord;
}

void TVisit::Undo(int row) {
    if (!CanUndo(row))
        return;
    const auto at = cart_.begin() + row;
    if (at->IsNewLoan()) {
        cart_.erase(at);
    } else {
        at->dVraceni = {};
        at->uzivVraceno.clear();
        at->infoVraceni.clear();
        at->duvodReklamace.clear();
        at->prodlouzeniDo = {};
    }
    Recompute();
}

bool TVisit::HasReservation(int kodTitul, const QDate& first, int besidesRow) const {
    for (std::size_t i = 0; i < reservations_.size(); ++i)
        if (static_cast<int>(i) != besidesRow && reservations_[i].kodTitul == kodTitul &&
            reservations_[i].terminPujceni == first)
            return true;
    return false;
}

void TVisit::Reserve(TReservationRow row) {
    row.dRezerv = {};
    row.storedTerminPujceni = {};
    row.changed = false;
    reservations_.push_back(std::move(row));
    Recompute();
}

void TVisit::ChangeReservation(int row, const QDate& first, const QDate& end, const QString& user) {
    TReservationRow& r = reservations_.at(static_cast<std::size_t>(row));
    r.terminPujceni = first;
    r.terminVraceni = end;
    r.uzivRezerv = user;
    r.dRezerv = {};
    r.changed = true;
    Recompute();
}

void TVisit::CancelReservation(int row) {
    const auto at = reservations_.begin() + row;
    if (at->IsStored())
        cancelled_.push_back(*at);
    reservations_.erase(at);
    Recompute();
}

double TVisit::Total() const {
    double total = 0;
    for (const TCartRow& row : cart_)
        total +=
            RowAmount(prices_, row.Money()) +
            row.cenaPujcka * ExtensionDays(prices_, row.terminPujceni, row.terminVraceni, row.prodlouzeniDo);
    return total;
}

bool TVisit::Pending() const {
    const bool cartChanged = std::any_of(cart_.begin(), cart_.end(), [](const TCartRow& r) {
        return r.IsNewLoan() || r.IsBackToday() || r.IsExtended();
    });
    const bool reservationsChanged = std::any_of(reservations_.begin(), reservations_.end(),
                                                 [](const TReservationRow& r) { return r.IsPending(); });
    return cartChanged || reservationsChanged || ReservationRemoved();
}

int TVisit::NewLoans() const {
    return static_cast<int>(
        std::count_if(cart_.begin(), cart_.end(), [](const TCartRow& r) { return r.IsNewLoan(); }));
}

int TVisit::BlockingLoan(const QDate& today, int blockDays) const {
    for (std::size_t i = 0; i < cart_.size(); ++i) {
        const TCartRow& r = cart_[i];
        if (!r.IsNewLoan() && !r.IsBackToday() && r.Due().daysTo(today) > blockDays)
            return static_cast<int>(i);
    }
    return -1;
}

void TVisit::Recompute() {
    receiptNeeded_ = false;
    for (TReservationRow& reservation : reservations_)
        reservation.pujceno = false;
    for (TCartRow& row : cart_) {
        row.pocetDni = LoanDays(prices_, row.terminPujceni, row.terminVraceni);
        if (row.IsNewLoan() || row.IsComplaint() || row.IsLate() ||
            ExtensionDays(prices_, row.terminPujceni, row.terminVraceni, row.prodlouzeniDo) > 0)
            receiptNeeded_ = true;
        if (!row.IsNewLoan())
            continue;
        // A loan made today fulfils the customer's reservation of the title that has begun.
        for (TReservationRow& reservation : reservations_)
            if (reservation.kodTitul == row.kodTitul && reservation.terminPujceni <= row.terminPujceni)
                reservation.pujceno = true;
    }
}

TLoanState TVisit::LoanState(int row, const QDate& today) const {
    const TCartRow& r = cart_.at(static_cast<std::size_t>(row));
    if (r.IsNewLoan())
        return TLoanState::NewLoan;
    const bool back = r.IsBackToday();
    if (today > r.Due())
        return back ? TLoanState::OverdueBack : TLoanState::Overdue;
    if (today == r.Due())
        return back ? TLoanState::DueTodayBack : TLoanState::DueToday;
    return back ? TLoanState::RunningBack : TLoanState::Running;
}

TReservationState TVisit::ReservationState(int row, const QDate& today) const {
    const TReservationRow& r = reservations_.at(static_cast<std::size_t>(row));
    if (r.pujceno)
        return TReservationState::Fulfilled;
    if (r.terminPujceni > today)
        return TReservationState::Future;
    return r.terminVraceni == today ? TReservationState::EndsToday : TReservationState::Current;
}
