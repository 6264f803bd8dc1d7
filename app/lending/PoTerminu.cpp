#include "PoTerminu.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "Money.h"
#include "MoxButton.h"
#include "MoxComboBox.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "OverdueReminder.h"
#include "QPoTerminu.h"
#include "ReportPreview.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QSaveFile>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <set>

namespace {

const QStringList kColumns{
    QStringLiteral("ZAKAZNIK"),       QStringLiteral("TELEFON"),  QStringLiteral("EMAIL"),
    QStringLiteral("NAZEV_CESKY"),    QStringLiteral("EAN_KOD"),  QStringLiteral("TERMIN_VRACENI"),
    QStringLiteral("DNI_PO_TERMINU"), QStringLiteral("POPLATEK"), QStringLiteral("UPOMINKA")};

const QString kNoEmail = QStringLiteral("bez e-mailu");

QString Names(const QString& caption, const QStringList& names) {
    return names.isEmpty() ? QString() : u'\r' + caption + names.join(QStringLiteral(", ")) + u'.';
}

} // namespace

TFPoTerminu::TFPoTerminu(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), table_(new TMemTable(kColumns, this)),
      ENejmeneDni(Named(new TMoxNumEdit(this), "ENejmeneDni")),
      CBRazeni(Named(new TMoxComboBox(this), "CBRazeni")),
      GridPoTerminu(ListGrid("GridPoTerminu", table_, this)), LCelkem(Named(new TMoxLabel(this), "LCelkem")),
      LPrubeh(Named(new TMoxLabel(this), "LPrubeh")),
      BTisk(Named(new TMoxButton(QStringLiteral("&Tisk"), this), "BTisk")),
      BExport(Named(new TMoxButton(QStringLiteral("&Uložit pro tabulkový procesor"), this), "BExport")),
      BUpomenout(Named(new TMoxButton(QStringLiteral("Poslat &upomínky vybraným"), this), "BUpomenout")),
      run_(this, LPrubeh, QStringLiteral("Odesílám upomínku %1 z %2...")),
      BZavrit(Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit")) {
    setObjectName(QStringLiteral("FPoTerminu"));
    setWindowTitle(QStringLiteral("Nosiče po termínu vrácení"));
    resize(1000, 560);
    SetDeskSurface(this);

    SetColumnTitles(table_, {QStringLiteral("Zákazník"), QStringLiteral("Telefon"), QStringLiteral("E-mail"),
                             QStringLiteral("Titul"), QStringLiteral("CN kód"),
                             QStringLiteral("Termín vrácení"), QStringLiteral("Dní po termínu"),
                             QStringLiteral("Půjčovné po termínu"), QStringLiteral("Upomínka")});
    table_->setColumnDecimals(QStringLiteral("POPLATEK"), 2);
    table_->setColumnAlignment(QStringLiteral("DNI_PO_TERMINU"), Qt::AlignRight);
    table_->setColumnAlignment(QStringLiteral("POPLATEK"), Qt::AlignRight);
    // The customers to remind are chosen as rows: a click, Shift and Ctrl add to the choice.
    GridPoTerminu->setSelectionMode(QAbstractItemView::ExtendedSelection);

    ENejmeneDni->setDecimal(0);
    ENejmeneDni->setMinValue(1);
    ENejmeneDni->setMaxValue(9999);
    ENejmeneDni->setValue(1);
    FitFieldTo(ENejmeneDni, QStringLiteral("99999"));
    CBRazeni->addItem(QStringLiteral("od nejdéle po termínu"));
    CBRazeni->addItem(QStringLiteral("od nejkratší doby po termínu"));

    connect(ENejmeneDni, &QLineEdit::textEdited, this, [this] { RunReported([this] { ShowView(); }); });
    connect(CBRazeni, &QComboBox::currentIndexChanged, this, [this] { RunReported([this] { ShowView(); }); });
    connect(BTisk, &QPushButton::clicked, this, [this] { RunReported([this] { Tisk(); }); });
    connect(BExport, &QPushButton::clicked, this, [this] { RunReported([this] { Export(); }); });
    connect(BUpomenout, &QPushButton::clicked, this, [this] { RunReported([this] { Upomenout(); }); });
    connect(BZavrit, &QPushButton::clicked, this, &TFPoTerminu::reject);

    auto* filter = new QHBoxLayout;
    filter->addWidget(Caption(QStringLiteral("&Nejméně dní po termínu:"), ENejmeneDni, this));
    filter->addWidget(ENejmeneDni);
    filter->addSpacing(12);
    filter->addWidget(Caption(QStringLiteral("Řa&dit:"), CBRazeni, this));
    filter->addWidget(CBRazeni);
    filter->addStretch();
    filter->addWidget(LCelkem);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LPrubeh, 1);
    for (TMoxButton* button : {BTisk, BExport, BUpomenout, run_.AbortButton(), BZavrit})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(Caption(QStringLiteral("Zápůjčky po &termínu vrácení:"), GridPoTerminu, this));
    layout->addWidget(GridPoTerminu, 1);
    layout->addLayout(buttons);

    Load();
    ENejmeneDni->setFocus();
}

void TFPoTerminu::reject() {
    if (!run_.Sending())
        QDialog::reject();
}

void TFPoTerminu::closeEvent(QCloseEvent* event) {
    if (run_.Sending())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFPoTerminu::Load() {
    TDMGlobDB& db = ctx_.Db();
    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        rows_ = LoadOverdueLoans(db, transaction, ctx_.SpecCena(), QDate::currentDate());
    });
    ShowView();
}

void TFPoTerminu::ShowView() {
    const auto order =
        CBRazeni->currentIndex() == 1 ? TOverdueOrder::ShortestFirst : TOverdueOrder::LongestFirst;
    view_ = OverdueView(rows_, ENejmeneDni->valueInt(), order);
    QList<QVariantList> rows;
    double total = 0;
    std::set<int> customers;
    for (const TOverdueLoan& row : view_) {
        rows.append({row.zakaznik, row.telefon, MailRecipients(row.email).isEmpty() ? kNoEmail : row.email,
                     row.nazevCesky, row.eanKod, row.terminVraceni, row.dniPoTerminu, row.poplatek,
                     row.upominka.isValid() ? QVariant(row.upominka) : QVariant()});
        total += row.poplatek;
        customers.insert(row.kodZak);
    }
    table_->setRows(rows);
    LCelkem->setText(QStringLiteral("Nosičů: %1, zákazníků: %2, půjčovné po termínu celkem: ")
                         .arg(view_.size())
                         .arg(customers.size()) +
                     MoneyText(total, ctx_.SpecCena().GetMena()));
    const bool any = !view_.empty();
    for (TMoxButton* button : {BTisk, BExport, BUpomenout})
        button->setEnabled(any && !run_.Sending());
}

void TFPoTerminu::Tisk() {
    ShowReportPreview(
        TQRPoTerminu(view_, ENejmeneDni->valueInt(), ctx_.SpecCena().GetMena(), ReportShop(ctx_.Pobocka()))
            .Report(),
        this);
}

void TFPoTerminu::Export() {
    QFileDialog volba(this, QStringLiteral("Uložit seznam nosičů po termínu"), QDir::homePath(),
                      QStringLiteral("Soubory CSV (*.csv)"));
    volba.setObjectName(QStringLiteral("SaveCsvDialog"));
    volba.setAcceptMode(QFileDialog::AcceptSave);
    volba.setDefaultSuffix(QStringLiteral("csv"));
    volba.selectFile(QStringLiteral("po_terminu.csv"));
    volba.setOption(QFileDialog::DontUseNativeDialog);
    if (ExecModal(volba) != QDialog::Accepted || volba.selectedFiles().isEmpty())
        return;
    const QString path = volba.selectedFiles().constFirst();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(OverdueCsv(view_)) < 0 || !file.commit()) {
        Warn(QStringLiteral("Soubor ") + QDir::toNativeSeparators(path) +
             QStringLiteral(" se nepodařilo uložit.\r") + file.errorString());
        return;
    }
    LPrubeh->setText(QStringLiteral("Seznam byl uložen do souboru ") + QDir::toNativeSeparators(path) + u'.');
}

void TFPoTerminu::Lock(bool sending) {
    for (QWidget* control : std::initializer_list<QWidget*>{ENejmeneDni, CBRazeni, GridPoTerminu, BTisk,
                                                            BExport, BUpomenout, BZavrit})
        control->setEnabled(!sending);
}

void TFPoTerminu::Upomenout() {
    if (run_.Sending())
        return;
    std::set<int> chosen;
    for (const QModelIndex& index : GridPoTerminu->selectionModel()->selectedRows())
        chosen.insert(view_.at(static_cast<std::size_t>(index.row())).kodZak);
    if (chosen.empty()) {
        Warn(QStringLiteral("Vyberte v seznamu zákazníky, kterým se má poslat upomínka."));
        return;
    }
    TSpecApp& app = ctx_.SpecApp();
    const QString subject = app.GetUpominkaSubj();
    if (subject.trimmed().isEmpty()) {
        Warn(QStringLiteral("Předmět upomínky není nastaven (Nastavení, Prostředí). Nic nebylo odesláno."));
        return;
    }
    // In the order of the list; each reminder names every medium of the customer then overdue.
    std::vector<TOverdueLoan> theirs;
    std::copy_if(view_.begin(), view_.end(), std::back_inserter(theirs),
                 [&chosen](const TOverdueLoan& row) { return chosen.count(row.kodZak) > 0; });
    const std::vector<TReminderCustomer> customers = ReminderCustomers(theirs);
    TPobocka& pobocka = ctx_.Pobocka();
    const TReminderRun run{QDate::currentDate(),
                           app.GetMailHost(),
                           app.GetMailPort(),
                           app.GetMailOdeslat(),
                           subject,
                           app.GetUpominkaText(),
                           ctx_.SpecCena().GetMena(),
                           {pobocka.GetJmeno(), pobocka.GetAdrUlice(), pobocka.GetAdrObec(),
                            pobocka.GetAdrPsc(), pobocka.GetTel(), pobocka.GetFax(), pobocka.GetWeb(),
                            app.GetMailOdeslat()},
                           ctx_.CurrentUser.KodUziv,
                           timeoutMs_};
    TReminderResult result;
    // The list shows afterwards who was reminded, however the run ended.
    const auto reload = qScopeGuard([this] { RunReported([this] { Load(); }); });
    run_.Run([this](bool sending) { Lock(sending); },
             [&](const TMailRunHooks& hooks) {
                 result = SendReminders(ctx_.Db(), ctx_.SpecCena(), run, customers, hooks);
                 LPrubeh->setText(
                     (result.Cancelled ? QStringLiteral("Odesílání přerušeno. ") : QString()) +
                     QStringLiteral("Odeslané upomínky: %1 z %2.").arg(result.Sent).arg(customers.size()));
             });
    const QString skipped =
        Names(QStringLiteral("Bez e-mailu: "), result.NoEmail) +
        Names(QStringLiteral("Dnes již upomenuti: "), result.RemindedToday) +
        Names(QStringLiteral("Upomínku jim právě posílá jiná pokladna: "), result.OtherCounter) +
        Names(QStringLiteral("Mezitím vrátili vše, co měli po termínu: "), result.NothingDue);
    if (!skipped.isEmpty())
        Inform(QStringLiteral("Těmto zákazníkům upomínka odeslána nebyla:") + skipped);
}
