#include "Uzaverka.h"

#include "AppContext.h"
#include "CloseBackup.h"
#include "DenUzavreni.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "QKasa.h"
#include "ReportPreview.h"
#include "Till.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QColor kOverdue(175, 95, 95);
const QColor kDueToday(Qt::red);
const QColor kReservedToday(0, 128, 0);

TMoxNumEdit* Figure(const char* name, int decimals, QWidget* parent) {
    auto* edit = Named(new TMoxNumEdit(parent), name);
    edit->setDecimal(decimals);
    edit->setReadOnly(true);
    FitFieldTo(edit, QStringLiteral("-999 999 999,99"));
    edit->setValue(0);
    return edit;
}

TMoxEdit* DateField(const char* name, QWidget* parent) {
    auto* edit = Named(new TMoxEdit(parent), name);
    edit->setReadOnly(true);
    FitFieldTo(edit, QStringLiteral("00.00.0000 00:00:00"));
    return edit;
}

QString DayText(const QDate& day) {
    return DateToText(QStringLiteral("dd.mm.yyyy"), day);
}

QLabel* BoldCaption(const QString& text, QWidget* parent) {
    auto* caption = new TMoxLabel(text, parent);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    return caption;
}

} // namespace

TFUzaverka::TFUzaverka(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), transaction_(context.Db().DB),
      pujcky_(new TMemTable({QStringLiteral("EAN_KOD"), QStringLiteral("NAZEV_CESKY"),
                             QStringLiteral("D_PUJCENI"), QStringLiteral("TERMIN_VRACENI"),
                             QStringLiteral("ZAKAZNIK"), QStringLiteral("EAN_KOD_ZAK")},
                            this)),
      rezervace_(new TMemTable({QStringLiteral("EAN_KOD_TIT"), QStringLiteral("NAZEV_CESKY"),
                                QStringLiteral("TERMIN_PUJCENI"), QStringLiteral("TERMIN_VRACENI"),
                                QStringLiteral("ZAKAZNIK"), QStringLiteral("EAN_KOD_ZAK")},
                               this)) {
    SetDeskSurface(this);
    SetColumnTitles(pujcky_, {QStringLiteral("CN kód"), QStringLiteral("Titul"),
                              QStringLiteral("Datum půjčení"), QStringLiteral("Termín vrácení"),
                              QStringLiteral("Zákazník"), QStringLiteral("EAN kód zák.")});
    SetColumnTitles(rezervace_, {QStringLiteral("EAN kód"), QStringLiteral("Titul"),
                                 QStringLiteral("Termín půjčení"), QStringLiteral("Termín vrácení"),
                                 QStringLiteral("Zákazník"), QStringLiteral("EAN kód zák.")});
    BuildForm();

    connect(BUzavrit, &QPushButton::clicked, this, &TFUzaverka::Uzavrit);
    connect(BTiskKasa, &QPushButton::clicked, this, [this] { RunReported([this] { TiskKasa(); }); });
    const auto today = [] { return QDate::currentDate(); };
    GridPujcky->setOnGetCellParams([this, today](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(loanDue_.size()))
            return;
        const QDate due = loanDue_[static_cast<std::size_t>(cell.row)];
        if (const QColor background = LoanBackground(due, today()); background.isValid())
            cell.background = background;
        if (const QColor text = LoanText(due, today()); text.isValid())
            cell.fontColor = text;
    });
    GridRezervace->setOnGetCellParams([this, today](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(reservationFrom_.size()))
            return;
        if (const QColor text =
                ReservationText(reservationFrom_[static_cast<std::size_t>(cell.row)], today());
            text.isValid())
            cell.fontColor = text;
    });
}

void TFUzaverka::BuildForm() {
    EDatum = DateField("EDatum", this);
    EUzavreno = DateField("EUzavreno", this);
    LNeniNutno = Named(new TMoxLabel(QStringLiteral("Uzávěrku není nutno spouštět."), this), "LNeniNutno");
    LNeniNutno->setVisible(false);
    EPocatek = Figure("EPocatek", 2, this);
    EKonec = Figure("EKonec", 2, this);
    EZalPrev = Figure("EZalPrev", 2, this);
    EZalVrac = Figure("EZalVrac", 2, this);
    EPujceno = Figure("EPujceno", 0, this);
    EVraceno = Figure("EVraceno", 0, this);
    ETrzba = Figure("ETrzba", 2, this);
    EDotace = Figure("EDotace", 2, this);
    EOdvod = Figure("EOdvod", 2, this);
    BUzavrit = Named(new TMoxButton(QStringLiteral("Uz&avřít pokladnu a odeslat data"), this), "BUzavrit");
    BTiskKasa = Named(new TMoxButton(QStringLiteral("Př&ehled"), this), "BTiskKasa");

    auto* figures = new QGridLayout;
    const auto field = [&](int line, int column, const QString& caption, QWidget* edit, bool currency) {
        figures->addWidget(Caption(caption, edit, this), line, column * 4);
        figures->addWidget(edit, line, column * 4 + 1);
        if (currency) {
            auto* mena = new TMoxLabel(this);
            currencies_.push_back(mena);
            figures->addWidget(mena, line, column * 4 + 2);
        }
    };
    field(0, 0, QStringLiteral("Datum uzávěrky:"), EDatum, false);
    field(1, 0, QStringLiteral("Po&čáteční stav pokladny:"), EPocatek, true);
    field(2, 0, QStringLiteral("Kon&ečný stav pokladny:"), EKonec, true);
    field(3, 0, QStringLiteral("Trž&ba (doklady):"), ETrzba, true);
    field(4, 0, QStringLiteral("Půjčených n&osičů:"), EPujceno, false);
    field(5, 0, QStringLiteral("Vrácených no&sičů:"), EVraceno, false);
    field(0, 1, QStringLiteral("Uzavřeno v:"), EUzavreno, false);
    field(1, 1, QStringLiteral("Pře&vzaté zálohy:"), EZalPrev, true);
    field(2, 1, QStringLiteral("V&rácené zálohy:"), EZalVrac, true);
    field(3, 1, QStringLiteral("Dodaná &hotovost:"), EDotace, true);
    field(4, 1, QStringLiteral("Odvedená tr&žba:"), EOdvod, true);
    figures->addWidget(LNeniNutno, 5, 4, 1, 3);
    figures->setColumnMinimumWidth(3, 24);
    figures->setColumnStretch(7, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BUzavrit);
    buttons->addWidget(BTiskKasa);
    buttons->addStretch();

    GridPujcky = ListGrid("GridPujcky", pujcky_, this);
    GridRezervace = ListGrid("GridRezervace", rezervace_, this);
    auto* legend = new QHBoxLayout;
    auto* overdue = Legend(QStringLiteral("Tituly, které měly být již vráceny."), Qt::black, this);
    QPalette palette = overdue->palette();
    palette.setColor(QPalette::Window, kOverdue);
    overdue->setPalette(palette);
    legend->addWidget(overdue);
    legend->addWidget(Legend(QStringLiteral("Tituly, které by se měly dnes vrátit."), kDueToday, this));
    legend->addWidget(Legend(QStringLiteral("Tituly, rezervované na dnešek."), kReservedToday, this));
    legend->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(BoldCaption(QStringLiteral("Půjčené nosiče"), this));
    layout->addWidget(GridPujcky, 1);
    layout->addWidget(BoldCaption(QStringLiteral("Rezervované tituly"), this));
    layout->addWidget(GridRezervace, 1);
    layout->addLayout(legend);
}

QColor TFUzaverka::LoanBackground(const QDate& due, const QDate& today) {
    return due.isValid() && due < today ? kOverdue : QColor();
}

QColor TFUzaverka::LoanText(const QDate& due, const QDate& today) {
    return due == today ? kDueToday : QColor();
}

QColor TFUzaverka::ReservationText(const QDate& from, const QDate& today) {
    return from.isValid() && from <= today ? kReservedToday : QColor();
}

void TFUzaverka::ShowDesk(bool flag) {
    mode_ = flag ? TCloseMode::PreviousPeriod : TCloseMode::Today;
    const QString mena = context_.SpecCena().GetMena();
    for (QLabel* label : currencies_)
        label->setText(mena);
    BUzavrit->setFocus();
    RunReported([this] { Spocitat(); });
}

void TFUzaverka::LeaveDesk() {
    pujcky_->clear();
    rezervace_->clear();
    // The page only reads in its transaction; the close was committed or rolled back in its own.
    if (transaction_.Active())
        transaction_.Commit();
}

void TFUzaverka::Spocitat() {
    TWaitBox wait(QStringLiteral("Počítám uzávěrku..."));
    TDMGlobDB& db = context_.Db();
    // A new read sees what the other counters have committed meanwhile.
    if (transaction_.Active())
        transaction_.Commit();
    const TCloseAnswer since = NoActivitySinceClose(db, transaction_);
    LNeniNutno->setVisible(since.Yes);
    EUzavreno->setText(since.LastClose.isValid()
                           ? DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm:ss"),
                                            QStringLiteral(" "), since.LastClose)
                           : QString());
    figures_ = CloseFigures(db, transaction_, mode_, db.ServerTime(transaction_).date());
    EDatum->setText(DayText(figures_.CloseDate));
    EPocatek->setValue(figures_.Opening);
    EKonec->setValue(figures_.Closing());
    EZalPrev->setValue(figures_.Money.DepositsTaken);
    EZalVrac->setValue(-figures_.Money.DepositsReturned);
    EPujceno->setValue(figures_.LoansStarted);
    EVraceno->setValue(figures_.LoansReturned);
    ETrzba->setValue(figures_.Money.Takings);
    EDotace->setValue(figures_.Money.CashAdded);
    EOdvod->setValue(-figures_.Money.CashTakenOut);
    LoadLists();
    transaction_.Commit();
}

void TFUzaverka::LoadLists() {
    TDMGlobDB& db = context_.Db();
    {
        auto query = db.OpenQuery(transaction_, LoansOutAtCloseSql());
        query->Open();
        QList<QVariantList> rows;
        loanDue_.clear();
        for (; !query->Eof(); query->Next()) {
            const auto field = [&](const char* name) -> const TField& {
                return query->FieldByName(QString::fromLatin1(name));
            };
            loanDue_.push_back(field("TERMIN_VRACENI").AsDate());
            rows.append({field("EAN_KOD").AsString(), field("NAZEV_CESKY").AsString(),
                         DayText(field("D_PUJCENI").AsDate()), DayText(loanDue_.back()),
                         field("ZAKAZNIK").AsString(), field("EAN_KOD_ZAK").AsString()});
        }
        pujcky_->setRows(std::move(rows));
    }
    {
        auto query = db.OpenQuery(transaction_, ReservationsSql());
        query->Open();
        QList<QVariantList> rows;
        reservationFrom_.clear();
        for (; !query->Eof(); query->Next()) {
            const auto field = [&](const char* name) -> const TField& {
                return query->FieldByName(QString::fromLatin1(name));
            };
            reservationFrom_.push_back(field("TERMIN_PUJCENI").AsDate());
            rows.append({field("EAN_KOD_TIT").AsString(), field("NAZEV_CESKY").AsString(),
                         DayText(reservationFrom_.back()), DayText(field("TERMIN_VRACENI").AsDate()),
                         field("ZAKAZNIK").AsString(), field("EAN_KOD_ZAK").AsString()});
        }
        rezervace_->setRows(std::move(rows));
    }
}

void TFUzaverka::Uzavrit() {
    TDMGlobDB& db = context_.Db();
    const int kodUziv = context_.CurrentUser.KodUziv;
    TStoredClose stored;
    try {
        if (mode_ == TCloseMode::Today) {
            TTransaction gate(db.DB);
            if (!PreviousDayClosed(db, gate, kodUziv).Yes) {
                Warn(QStringLiteral(
                    "Nelze uzavřít dnešní tržbu, dokud nebude uzavřena tržba včerejší.\rNejdříve "
                    "se uzavře předchozí období. Uzavření dnešního nebude provedeno."));
                mode_ = TCloseMode::PreviousPeriod;
            }
        }
        Spocitat();
        TWaitBox wait(QStringLiteral("Počítám uzávěrku..."));
        stored = StoreClose(db, mode_, kodUziv);
    } catch (const ETillBusy& busy) {
        ReportError(busy.Message());
        RunReported([this] { Spocitat(); });
        return;
    } catch (...) {
        // Nothing of the close was stored; the page shows the figures afresh and can close again.
        ReportCurrentException();
        RunReported([this] { Spocitat(); });
        return;
    }
    // Another counter closed the period and today meanwhile: the page shows what it stored.
    if (stored.Days.empty())
        Inform(QStringLiteral("Předchozí období mezitím uzavřela jiná pokladna.\rTato uzávěrka nic "
                              "neuložila; zobrazen je uložený stav."));
    BackUpAfterClose();
    if (context_.Requests)
        context_.Requests->DayClosed();
    mode_ = TCloseMode::Today;
    RunReported([this] { Spocitat(); });
}

void TFUzaverka::BackUpAfterClose() {
    const QString text = QStringLiteral("Zálohuji databázi...");
    std::optional<TCloseBackup> backup;
    {
        const TWaitBox wait(text);
        backup = BackupAfterClose(context_.Db(), WaitProgress(text));
    }
    if (!backup)
        return;
    if (backup->Ok)
        Inform(backup->Text);
    else
        Warn(backup->Text);
}

void TFUzaverka::TiskKasa() {
    TQRKasa kasa(figures_, context_.SpecCena().GetMena(), ReportShop(context_.Pobocka()));
    ShowReportPreview(kasa.Report(), this);
}
