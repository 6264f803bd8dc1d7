#include "Pujcky.h"

#include "AppContext.h"
#include "BorrowingBlock.h"
#include "CustomerSql.h"
#include "Deposits.h"
#include "Extension.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "Hotovost.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "NahledObrazku.h"
#include "NosicPujceni.h"
#include "NosicReklamace.h"
#include "NosicVraceni.h"
#include "PictureFrame.h"
#include "Pictures.h"
#include "PoTerminu.h"
#include "PriceSettings.h"
#include "Prodlouzeni.h"
#include "PujckyLook.h"
#include "RezervJe.h"
#include "RezervPujcit.h"
#include "SearchBrowse.h"
#include "VisitPayment.h"
#include "ZakHistorie.h"
#include "ZakZalohy.h"

TFPujcky::TFPujcky(TAppContext& ctx, QWidget* parent)
    : TDesk(parent), ctx_(ctx), trDesk_(ctx.Db().DB), visit_(ctx.SpecCena()),
      tablePujcky_(new TMemTable(this)), tableRezerv_(new TMemTable(this)) {
    setObjectName(QStringLiteral("FPujcky"));
    BuildForm();
    ShowNoCustomer();
}

void TFPujcky::ShowDesk(bool) {
    preselectedMedium_ = -1;
    changingReservation_ = -1;
    search_->Close();
    ShowNoCustomer();
    EHledejEAN->setFocus();
}

void TFPujcky::OpenRecord(int key) {
    LoadCustomer(key);
}

bool TFPujcky::CanLeave() {
    if (!pending_)
        return true;
    switch (Ask(
        QStringLiteral("Provedené změny nebyly uloženy, půjčky nebyly \rzaplaceny/vrácení nebylo potvrzeno. "
                       "Zaplatit/potvrdit?"),
        true)) {
    case TMsgResult::Yes: {
        bool paid = false;
        RunReported([&] { paid = Zaplatit(); });
        return paid;
    }
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TFPujcky::LeaveDesk() {
    search_->Close();
    if (trDesk_.Active())
        trDesk_.Commit();
}

// --- Finding the customer -----------------------------------------------------------------

bool TFPujcky::FindCode(const QString& code) {
    if (IsMediumLabel(code))
        return ReturnFromCustomerField(code);
    const std::optional<int> key = FindCustomerByCode(ctx_.Db(), trDesk_, code);
    trDesk_.Commit();
    if (!key) {
        Warn(CustomerNotFoundText(code));
        EHledejEAN->selectAll();
        return false;
    }
    if (!SaveBeforeCard()) {
        EHledejEAN->selectAll();
        return false;
    }
    LoadCustomer(*key);
    return true;
}

bool TFPujcky::ReturnFromCustomerField(const QString& code) {
    const std::optional<TMediumOnLoan> medium = FindMediumOnLoan(ctx_.Db(), trDesk_, code);
    trDesk_.Commit();
    if (!medium) {
        Warn(QStringLiteral("Nosič s CN kódem ") + code + QStringLiteral(" není vypůjčen."));
        EHledejEAN->selectAll();
        return false;
    }
    if ((!customer_ || customer_->kodZak != medium->kodZak) && !SaveBeforeCard()) {
        EHledejEAN->selectAll();
        return false;
    }
    VratitNosic(code);
    return true;
}

bool TFPujcky::SaveBeforeCard() {
    if (!pending_)
        return true;
    switch (Ask(QStringLiteral("Provedené změny nebyly uloženy. Uložit?"), true)) {
    case TMsgResult::Yes:
        return Zaplatit();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

std::vector<int> TFPujcky::FindSurname(const QString& surname) {
    std::vector<int> keys;
    {
        const auto query = ctx_.Db().OpenQuery(trDesk_, CustomerBySurnameSql(surname));
        query->Open();
        for (; !query->Eof(); query->Next())
            keys.push_back(query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger());
    }
    // The keys are all read: no transaction stays open while the clerk browses them.
    trDesk_.Commit();
    return keys;
}

// --- The customer and the visit -----------------------------------------------------------

void TFPujcky::ShowNoCustomer() {
    customer_.reset();
    visit_.Clear();
    for (TMoxEdit* field : {EJmeno, EAdresa, EDRegistrace})
        field->clear();
    MPoznamky->clear();
    ImageFoto->Clear();
    LVip->setVisible(false);
    LVyrazen->setVisible(false);
    LZalohaZnak->setVisible(false);
    EZaloha->setValue(0);
    ECelkemPujceno->setValue(0);
    Refresh();
}

void TFPujcky::LoadCustomer(int key) {
    // Every visit is priced at the shop's prices and VAT as they are now, not as this counter
    // read them at start-up: the receipt's amounts and its printed rates must agree.
    ctx_.SpecCena().Reload();
    customer_ = LoadCounterCustomer(ctx_.Db(), trDesk_, key);
    if (!customer_) {
        trDesk_.Commit();
        ShowNoCustomer();
        ReportError(QStringLiteral("Chyba v datech. Data k zákazníkovi nebyla nalezena."));
        return;
    }
    EJmeno->setText(customer_->DisplayName());
    EAdresa->setText(customer_->Address());
    EDRegistrace->setText(TimestampText(customer_->dRegistrace));
    MPoznamky->setPlainText(customer_->poznamky);
    ImageFoto->SetPicture(customer_->foto.isEmpty() ? QImage() : PictureFromBlob(customer_->foto));
    LVip->setVisible(customer_->prices.vip);
    LVyrazen->setVisible(customer_->ended);
    const double deposits = OpenDeposits(ctx_.Db(), trDesk_, key);
    EZaloha->setValue(deposits);
    LZalohaZnak->setVisible(deposits != 0);
    ReloadVisit();
    if (customer_->ended)
        Warn(QStringLiteral("Zákazník je ukončen. Již mu nelze půjčit další titul."));
    FocusNextScan();
}

void TFPujcky::FocusNextScan() {
    (BPujcit->isEnabled() ? BPujcit : BDetail)->setFocus();
}

void TFPujcky::ReloadVisit() {
    const int key = customer_->kodZak;
    std::vector<TCartRow> loans = LoadLoansOnRecord(ctx_.Db(), trDesk_, key);
    std::vector<TReservationRow> reservations = LoadReservations(ctx_.Db(), trDesk_, key);
    trDesk_.Commit();
    visit_.Load(key, std::move(loans), std::move(reservations));
    Refresh();
}

void TFPujcky::Refresh() {
    ShowCart();
    ShowReservations();
    UpdateButtons();
}

QString TFPujcky::UndoCaption(const TCartRow& row) {
    if (row.IsNewLoan())
        return QStringLiteral("Zp&ět (nepůjčovat)");
    return row.IsExtended() ? QStringLiteral("Zp&ět (neprodlužovat)") : QStringLiteral("Zp&ět (nevracet)");
}

void TFPujcky::UpdateButtons() {
    const bool withCustomer = customer_.has_value();
    for (QWidget* w : panel_)
        w->setEnabled(withCustomer);
    const bool canLend = withCustomer && !customer_->ended;
    BPujcit->setEnabled(canLend);
    BRezervace->setEnabled(canLend);
    BZmenaRezervace->setEnabled(withCustomer && !visit_.Reservations().empty());
    const int row = tablePujcky_->currentRow();
    BProdlouzit->setEnabled(canLend && visit_.CanExtend(row));
    const bool undo = visit_.CanUndo(row);
    BZpet->setEnabled(undo);
    if (undo)
        BZpet->setText(UndoCaption(visit_.Cart()[static_cast<std::size_t>(row)]));
    else
        BZpet->setText(QStringLiteral("Zp&ět "));
    pending_ = visit_.Pending();
    BZaplatit->setEnabled(pending_);
    EPujceno->setValue(static_cast<double>(visit_.Cart().size()));
    ECelkemPujceno->setValue(withCustomer ? customer_->pocetPujcek + visit_.NewLoans() : 0);
    ECenaCelkem->setValue(visit_.Total());
}

// Both lists are rebuilt from the visit without moving the clerk's current row.
void TFPujcky::ShowCart() {
    QList<QVariantList> rows;
    for (const TCartRow& row : visit_.Cart())
        rows.push_back(PujckyLook::CartRecord(row));
    tablePujcky_->replaceRows(std::move(rows));
}

void TFPujcky::ShowReservations() {
    QList<QVariantList> rows;
    for (const TReservationRow& row : visit_.Reservations())
        rows.push_back(PujckyLook::ReservationRecord(row));
    tableRezerv_->replaceRows(std::move(rows));
}

// --- Lending, returns, complaints ---------------------------------------------------------

void TFPujcky::ScannedAtCounter(const QString& code) {
    if (!customer_)
        return;
    const std::optional<TMediumOnLoan> out = FindMediumOnLoan(ctx_.Db(), trDesk_, code);
    trDesk_.Commit();
    if (out && out->kodZak == customer_->kodZak)
        VratitNosic(code);
    else
        PujcitNosic(code);
}

void TFPujcky::PujcitNosic(const QString& scanned) {
    if (!customer_ || Blocked())
        return;
    TFNosicPujceni dialog(ctx_, this);
    dialog.SetCustomer(customer_->kodZak, customer_->prices, customer_->pocetPujcek + visit_.NewLoans());
    if (!scanned.isEmpty())
        dialog.SearchFor(scanned);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const TMediumToLend& medium = dialog.Medium();
    for (const TCartRow& row : visit_.Cart())
        if (row.IsNewLoan() && row.kodNosic == medium.kodNosic) {
            Inform(QStringLiteral("Zákazník má již nosič vybrán."));
            return;
        }
    bool out = false;
    {
        const auto query = ctx_.Db().OpenQuery(
            trDesk_, QStringLiteral("select KOD_NOSIC from PUJCKY where KOD_NOSIC = ") +
                         QString::number(medium.kodNosic) + QStringLiteral(" and D_VRACENI is null"));
        query->Open();
        out = !query->Eof();
    }
    trDesk_.Commit();
    if (out) {
        if (Ask(QStringLiteral(
                "Tento nosič je již vypůjčen nějakým zákazníkem.\rNejdříve se musí nosič vrátit.\r\r"
                "Chcete nosič rezervovat na následující den?")) == TMsgResult::Yes) {
            preselectedMedium_ = medium.kodNosic;
            Rezervace();
        }
        return;
    }
    if (ReservedForOthersToday(ctx_.Db(), trDesk_, medium.kodTitul, customer_->kodZak)) {
        trDesk_.Commit();
        TFRezervPujcit ask(this);
        const int choice = ExecModal(ask);
        if (choice == TFRezervPujcit::Rezervovat) {
            preselectedMedium_ = medium.kodNosic;
            Rezervace();
            return;
        }
        if (choice != TFRezervPujcit::Pujcit)
            return;
    }
    trDesk_.Commit();
    TCartRow row;
    row.kodTitul = medium.kodTitul;
    row.kodNosic = medium.kodNosic;
    row.typNosice = medium.typNosice;
    row.nazevCesky = medium.nazevCesky;
    row.eanKod = medium.eanKod;
    row.terminPujceni = QDate::currentDate();
    row.terminVraceni = row.terminPujceni.addDays(dialog.PocetDni());
    row.uzivPujcil = ctx_.CurrentUser.Jmeno;
    row.cenaPujcka = dialog.CenaPujcka();
    visit_.Lend(std::move(row));
    Refresh();
    tablePujcky_->setCurrentRow(static_cast<int>(visit_.Cart().size()) - 1);
    FocusNextScan();
}

bool TFPujcky::Blocked() {
    TSpecCena& prices = ctx_.SpecCena();
    if (!prices.GetBlokPujceni())
        return false;
    const QDate today = QDate::currentDate();
    const int row = visit_.BlockingLoan(today, prices.GetBlokDny());
    if (row < 0)
        return false;
    const TCartRow& loan = visit_.Cart()[static_cast<std::size_t>(row)];
    Warn(BorrowingBlockedText({loan.eanKod, loan.nazevCesky, static_cast<int>(loan.Due().daysTo(today))}));
    return true;
}

int TFPujcky::BorrowersRow(const TMediumOnLoan& medium, const QString& notFound) {
    // The medium decides whose visit this is; an unpaid visit of another customer is dropped.
    if (!customer_ || customer_->kodZak != medium.kodZak)
        LoadCustomer(medium.kodZak);
    if (!customer_)
        return -1;
    const int row = visit_.FindMedium(medium.kodNosic);
    if (row < 0)
        ReportError(notFound);
    return row;
}

void TFPujcky::VratitNosic(const QString& scanned) {
    TFNosicVraceni dialog(ctx_, this);
    if (!scanned.isEmpty())
        dialog.SearchFor(scanned);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const TMediumOnLoan medium = dialog.Medium();
    const int row =
        BorrowersRow(medium, QStringLiteral("U zákazníka nebyl nalezen vracený titul. Nelze vrátit."));
    if (row < 0)
        return;
    if (medium.retired)
        Warn(QStringLiteral("Nosič byl již vyřazen. Nebude přidán do půjčovny."));
    visit_.Return(row, QDate::currentDate(), ctx_.CurrentUser.Jmeno, dialog.Zprava());
    Refresh();
    tablePujcky_->setCurrentRow(row);
    if (!medium.retired)
        ReservationNotice(medium.kodTitul);
    FocusNextScan();
}

void TFPujcky::Reklamace() {
    TFNosicReklamace dialog(ctx_, this);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const TMediumOnLoan medium = dialog.Medium();
    const int row = BorrowersRow(
        medium, QStringLiteral("U zákazníka nebyl nalezen reklamovaný titul. Nelze reklamovat."));
    if (row < 0)
        return;
    visit_.Complain(row, QDate::currentDate(), ctx_.CurrentUser.Jmeno, dialog.Duvod());
    Refresh();
    tablePujcky_->setCurrentRow(row);
    ReservationNotice(medium.kodTitul);
    FocusNextScan();
}

void TFPujcky::ReservationNotice(int kodTitul) {
    const std::optional<TNextReservation> next = NextReservation(ctx_.Db(), trDesk_, kodTitul);
    trDesk_.Commit();
    if (!next)
        return;
    TFRezervJe notice(*next, next->terminPujceni < QDate::currentDate().addDays(2), this);
    ExecModal(notice);
}

void TFPujcky::Zpet() {
    const int row = tablePujcky_->currentRow();
    if (!visit_.CanUndo(row))
        return;
    visit_.Undo(row);
    Refresh();
}

void TFPujcky::Prodlouzit() {
    const int row = tablePujcky_->currentRow();
    if (!customer_ || !visit_.CanExtend(row))
        return;
    const TCartRow loan = visit_.Cart()[static_cast<std::size_t>(row)];
    const QDate today = QDate::currentDate();
    TFProdlouzeni dialog(ctx_.SpecCena(), loan, today, this);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const QDate novy = dialog.NovyTermin();
    const std::optional<QDate> needed =
        DayNeededByOthers(ctx_.Db(), trDesk_, loan.kodTitul, customer_->kodZak,
                          MediaOfTitle(ctx_.Db(), trDesk_, loan.kodTitul, false),
                          ExtensionStart(loan.terminVraceni, today), novy);
    trDesk_.Commit();
    if (needed) {
        Inform(ExtensionRefusedText(*needed));
        return;
    }
    visit_.Extend(row, novy);
    Refresh();
    tablePujcky_->setCurrentRow(row);
    FocusNextScan();
}

// --- Payment --------------------------------------------------------------------------------

bool TFPujcky::Zaplatit() {
    if (!customer_ || !pending_)
        return false;
    if (trDesk_.Active())
        trDesk_.Commit();
    TPaymentResult paid;
    try {
        TWaitBox wait(QStringLiteral("Ukládám půjčení/rezervaci/vrácení titulu..."));
        paid = PayVisit(ctx_.Db(), ctx_.SpecCena(), visit_, ctx_.CurrentUser.KodUziv);
    } catch (const EVisitConflict& conflict) {
        // Another counter was quicker: nothing is written and the visit stays for the clerk.
        Warn(conflict.Message());
        if (conflict.KodNosic() != 0)
            ShowConflict(conflict.KodNosic());
        return false;
    }
    customer_->pocetPujcek += visit_.NewLoans();
    pending_ = false;
    try {
        if (paid.receipt)
            OpenPayment(paid.kodDok, paid.total);
        ReloadVisit();
    } catch (const ECinemonError& failure) {
        // The visit is stored: it must never be offered for paying again, whatever the reload did.
        ShowNoCustomer();
        const auto* database = dynamic_cast<const EDatabaseError*>(&failure);
        ReportError(QStringLiteral("Návštěva je uložena, ale výpůjčky a rezervace zákazníka se nepodařilo "
                                   "znovu načíst. Vyhledejte zákazníka znovu.") +
                    (database && database->ConnectionLost() ? QString()
                                                            : QStringLiteral("\r\r") + failure.Message()));
    }
    if (EHledejEAN->isEnabled())
        EHledejEAN->setFocus();
    return true;
}

void TFPujcky::ShowConflict(int kodNosic) {
    std::vector<TCartRow> loans = LoadLoansOnRecord(ctx_.Db(), trDesk_, customer_->kodZak);
    trDesk_.Commit();
    visit_.ReloadLoans(std::move(loans));
    Refresh();
    const int row = visit_.FindAnyMedium(kodNosic);
    if (row >= 0)
        tablePujcky_->setCurrentRow(row);
}

void TFPujcky::OpenPayment(int kodDok, double total) {
    TFHotovost hotovost(ctx_, ctx_.ReceiptPrinter, this);
    hotovost.SetReceipt(kodDok);
    hotovost.SetAmount(total);
    ExecModal(hotovost);
}

// --- Other buttons --------------------------------------------------------------------------

void TFPujcky::Detail() {
    if (!customer_ || !CanLeave())
        return;
    pending_ = false;
    BZaplatit->setEnabled(false);
    if (ctx_.Requests)
        ctx_.Requests->RequestCustomer(customer_->kodZak);
}

void TFPujcky::Statistika() {
    if (!customer_)
        return;
    TFZakHistorie historie(ctx_, this);
    historie.SetJmeno(customer_->DisplayName());
    historie.Open(customer_->kodZak);
}

void TFPujcky::Zalohy() {
    if (!customer_)
        return;
    TFZakZalohy zalohy(ctx_, this);
    zalohy.SetJmeno(customer_->DisplayName());
    zalohy.Open(customer_->kodZak);
    const double deposits = zalohy.CurrentDeposit();
    EZaloha->setValue(deposits);
    LZalohaZnak->setVisible(deposits != 0);
}

void TFPujcky::NahledFoto() {
    if (!customer_ || ImageFoto->Picture().isNull())
        return;
    TFNahledObrazku nahled(this);
    nahled.SetCaption(customer_->DisplayName());
    nahled.SetPicture(ImageFoto->Picture());
    ExecModal(nahled);
}

void TFPujcky::PoTerminu() {
    TFPoTerminu seznam(ctx_, this);
    ExecModal(seznam);
}
