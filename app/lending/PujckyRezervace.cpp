// The counter's reservations: making, moving and cancelling them through the reservation dialog.
#include "Pujcky.h"

#include "AppContext.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "ReservationWindow.h"
#include "TitulRezervace.h"

void TFPujcky::Rezervace() {
    if (!customer_)
        return;
    // Whatever the outcome, the pre-selection and the change in progress are used up.
    const int preselected = preselectedMedium_;
    const int changing = changingReservation_;
    preselectedMedium_ = -1;
    changingReservation_ = -1;

    TFTitulRezervace dialog(ctx_, this);
    if (changing >= 0) {
        const TReservationRow& old = visit_.Reservations()[static_cast<std::size_t>(changing)];
        dialog.PresetChange(old.terminPujceni, static_cast<int>(old.terminPujceni.daysTo(old.terminVraceni)));
    }
    if (preselected >= 0)
        dialog.SearchMedium(preselected);
    if (changing >= 0)
        dialog.SearchTitle(visit_.Reservations()[static_cast<std::size_t>(changing)].kodTitul);
    dialog.SetCustomer(customer_->kodZak);
    const int result = ExecModal(dialog);
    if (result == TFTitulRezervace::kZrusitRezervaci) {
        if (changing >= 0)
            visit_.CancelReservation(changing);
        Refresh();
        return;
    }
    if (result != TFTitulRezervace::kRezervovat)
        return;
    const TReservationChoice choice = dialog.Choice();
    // A move onto a day the customer already holds for the title would double the reservation.
    if (visit_.HasReservation(choice.kodTitul, choice.terminPujceni, changing)) {
        Inform(QStringLiteral("Zákazník má již titul rezervován."));
        return;
    }
    const int reserved = ReservationsCoveringByOthers(ctx_.Db(), trDesk_, choice.kodTitul, customer_->kodZak,
                                                      choice.terminPujceni);
    trDesk_.Commit();
    if (FullyReserved(reserved, choice.pocetCelkem)) {
        Inform(QStringLiteral("Tento titul je již rezervován pro jiného zákazníka.\rNelze rezervovat."));
        return;
    }
    if (changing >= 0) {
        visit_.ChangeReservation(changing, choice.terminPujceni, choice.terminVraceni,
                                 ctx_.CurrentUser.Jmeno);
    } else {
        TReservationRow row;
        row.kodTitul = choice.kodTitul;
        row.typNosice = choice.typNosice;
        row.nazevCesky = choice.nazevCesky;
        row.eanKod = choice.eanKod;
        row.terminPujceni = choice.terminPujceni;
        row.terminVraceni = choice.terminVraceni;
        row.uzivRezerv = ctx_.CurrentUser.Jmeno;
        visit_.Reserve(std::move(row));
    }
    Refresh();
}

void TFPujcky::ZmenaRezervace() {
    const int row = tableRezerv_->currentRow();
    if (row < 0 || row >= static_cast<int>(visit_.Reservations().size()))
        return;
    changingReservation_ = row;
    Rezervace();
}
