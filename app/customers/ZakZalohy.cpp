#include "ZakZalohy.h"

#include "AppContext.h"
#include "CustomerSql.h"
#include "Deposits.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "ZakZalPrev.h"
#include "ZakZalVrac.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QColor kReturnedColour(128, 128, 128);

} // namespace

TFZakZalohy::TFZakZalohy(TAppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint), ctx_(ctx),
      zalohy_(new TMemTable(this)), EZalohy(Named(new TMoxNumEdit(this), "EZalohy")),
      GridZalohy(Named(new TMoxGrid(this), "GridZalohy")),
      BPrevzit(Named(new TMoxButton(QStringLiteral("Př&evzít zálohu"), this), "BPrevzit")),
      BVratit(Named(new TMoxButton(QStringLiteral("&Vrátit zálohu"), this), "BVratit")),
      BZavrit(Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit")) {
    setObjectName(QStringLiteral("FZakZalohy"));
    setWindowTitle(QStringLiteral("Zálohy zákazníka: "));
    resize(1000, 420);
    SetDeskSurface(this);

    EZalohy->setDecimal(2);
    EZalohy->setReadOnly(true);
    EZalohy->setAlignment(Qt::AlignRight);
    FitFieldTo(EZalohy, QStringLiteral("999 999 999,99"));
    EZalohy->setValue(0);

    zalohy_->setColumns({QStringLiteral("D_PREVZETI"), QStringLiteral("UZIV_PREVZAL"),
                         QStringLiteral("CASTKA"), QStringLiteral("POZN_PREV"), QStringLiteral("D_VRACENI"),
                         QStringLiteral("UZIV_VRACENO"), QStringLiteral("POZN_VRAC")});
    const QStringList titles{
        QStringLiteral("Datum převzetí"),      QStringLiteral("Převzal"),       QStringLiteral("Částka"),
        QStringLiteral("Poznámka k převzetí"), QStringLiteral("Datum vrácení"), QStringLiteral("Vráceno"),
        QStringLiteral("Poznámka k vrácení")};
    for (int i = 0; i < titles.size(); ++i)
        zalohy_->setColumnTitle(zalohy_->columns().at(i), titles.at(i));
    zalohy_->setColumnDecimals(QStringLiteral("CASTKA"), 2);
    GridZalohy->setModel(zalohy_);
    GridZalohy->setReadOnly(true);
    GridZalohy->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridZalohy->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted && cell.row >= 0 && cell.row < static_cast<int>(returned_.size()) &&
            returned_[static_cast<std::size_t>(cell.row)])
            cell.fontColor = kReturnedColour;
    });

    auto* held = new QHBoxLayout;
    held->addWidget(Caption(QStringLiteral("A&ktuální převzaté zálohy:"), EZalohy, this));
    held->addWidget(EZalohy);
    held->addWidget(Named(new TMoxLabel(ctx_.SpecCena().GetMena(), this), "LMena"));
    held->addStretch();
    auto* legend = new QHBoxLayout;
    legend->addWidget(Legend(QStringLiteral("Již vrácené zálohy."), kReturnedColour, this));
    legend->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BPrevzit);
    buttons->addWidget(BVratit);
    buttons->addStretch();
    buttons->addWidget(BZavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(held);
    layout->addWidget(GridZalohy, 1);
    layout->addLayout(legend);
    layout->addLayout(buttons);

    connect(BPrevzit, &QPushButton::clicked, this, [this] { RunReported([this] { Prevzit(); }); });
    connect(BVratit, &QPushButton::clicked, this, [this] { RunReported([this] { Vratit(); }); });
    connect(BZavrit, &QPushButton::clicked, this, &QDialog::reject);
}

void TFZakZalohy::SetJmeno(const QString& jmeno) {
    setWindowTitle(QStringLiteral("Zálohy zákazníka: ") + jmeno);
}

int TFZakZalohy::Open(int kodZak) {
    Load(kodZak);
    if (BVratit->isEnabled())
        BVratit->setFocus();
    else
        BPrevzit->setFocus();
    return ExecModal(*this);
}

// Nothing stays open while the dialog waits for the clerk: the rows are read and committed.
void TFZakZalohy::Load(int kodZak) {
    kodZak_ = kodZak;
    EZalohy->setValue(0);
    BVratit->setEnabled(false);
    TTransaction transaction(ctx_.Db().DB);
    const double held = RoundTo(0.01, OpenDeposits(ctx_.Db(), transaction, kodZak));
    const std::vector<TDepositRow> rows = LoadDepositRows(ctx_.Db(), transaction, kodZak);
    transaction.Commit();
    EZalohy->setValue(held);
    BVratit->setEnabled(held != 0);
    QList<QVariantList> records;
    returned_.clear();
    for (const TDepositRow& row : rows) {
        records.append({TimestampText(row.dPrevzeti), row.uzivPrevzal, row.castka, row.poznPrev,
                        TimestampText(row.dVraceni), row.uzivVraceno, row.poznVrac});
        returned_.push_back(row.Returned());
    }
    zalohy_->setRows(records);
}

double TFZakZalohy::CurrentDeposit() const {
    return EZalohy->value();
}

void TFZakZalohy::Prevzit() {
    TFZakZalPrev prevzeti(ctx_, this);
    prevzeti.SetZakaznik(kodZak_);
    ExecModal(prevzeti);
    if (prevzeti.Saved())
        Load(kodZak_);
}

void TFZakZalohy::Vratit() {
    TFZakZalVrac vraceni(ctx_, this);
    vraceni.SetZakaznik(kodZak_, CurrentDeposit());
    ExecModal(vraceni);
    if (vraceni.Saved())
        Load(kodZak_);
}
