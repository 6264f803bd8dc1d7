#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNavigator.h"
#include "MoxNumEdit.h"
#include "NastaveniPages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TPagePujcky::TPagePujcky(TAppContext& context, QWidget* parent)
    : TSettingsPage(context, "BUlozPujcky", parent),
      slevy_(new TMemTable({QStringLiteral("PUJCENO"), QStringLiteral("SLEVA")}, this)) {
    slevy_->setColumnTitle(QStringLiteral("PUJCENO"), QStringLiteral("Počet titulů"));
    slevy_->setColumnTitle(QStringLiteral("SLEVA"), QStringLiteral("Výše slevy"));
    slevy_->setColumnDecimals(QStringLiteral("PUJCENO"), 0);
    slevy_->setColumnDecimals(QStringLiteral("SLEVA"), 2);
    slevy_->setUserInsertAllowed(true);
    slevy_->setUserDeleteAllowed(true);
    GridSlevy = Named(new TMoxGrid(this), "GridSlevy");
    GridSlevy->setModel(slevy_);
    GridSlevy->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    // A discount step is deleted without a question.
    GridSlevy->setDeleteConfirmation([] { return true; });
    using B = TMoxNavigator::TButton;
    auto* navigator = Named(
        new TMoxNavigator(GridSlevy, {B::Prior, B::Next, B::Insert, B::Delete, B::Post, B::Cancel}, this),
        "NavSlevy");
    connect(slevy_, &TMemTable::changed, this, [this] { MarkChanged(); });

    static const char* const kDays[] = {"Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek", "Sobota", "Neděle"};
    static const char* const kNames[] = {"ChPo", "ChUt", "ChSt", "ChCt", "ChPa", "ChSo", "ChNe"};
    auto* days = new QVBoxLayout;
    days->addWidget(new TMoxLabel(QStringLiteral("Dny, kdy je otevřeno/platí se za půjčky:"), this));
    for (std::size_t i = 0; i < days_.size(); ++i) {
        days_[i] = Named(new TMoxCheckBox(QString::fromUtf8(kDays[i]), this), kNames[i]);
        connect(days_[i], &TMoxCheckBox::changed, this, [this] { MarkChanged(); });
        days->addWidget(days_[i]);
    }
    days->addSpacing(12);
    ChBlokPujceni = Named(
        new TMoxCheckBox(
            QStringLiteral("&Nepůjčovat zákazníkovi, který má nosič po termínu vrácení déle než"), this),
        "ChBlokPujceni");
    EBlokDny = Named(new TMoxNumEdit(this), "EBlokDny");
    EBlokDny->setMinValue(0);
    EBlokDny->setMaxValue(999);
    EBlokDny->setMaxLength(3);
    EBlokDny->setMaximumWidth(60);
    connect(ChBlokPujceni, &TMoxCheckBox::changed, this, [this] {
        EBlokDny->setEnabled(ChBlokPujceni->isChecked());
        MarkChanged();
    });
    connect(EBlokDny, &TMoxNumEdit::textEdited, this, [this] { MarkChanged(); });
    auto* block = new QHBoxLayout;
    block->addWidget(EBlokDny);
    block->addWidget(new TMoxLabel(QStringLiteral("dní"), this));
    block->addStretch();
    days->addWidget(ChBlokPujceni);
    days->addLayout(block);
    days->addStretch();

    auto* grid = new QVBoxLayout;
    grid->addWidget(new TMoxLabel(QStringLiteral("Slevy zákazníků:"), this));
    grid->addWidget(GridSlevy, 1);
    grid->addWidget(navigator);

    auto* columns = new QHBoxLayout;
    columns->addLayout(grid, 1);
    columns->addSpacing(24);
    columns->addLayout(days);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BUloz);
    page->addLayout(bottom);
}

void TPagePujcky::Load() {
    const TLoading loading(*this);
    QList<QVariantList> rows;
    RunInTransaction(context_.Db().DB, [&](TTransaction& transaction) {
        for (const TDiscountRow& row : LoadDiscounts(context_.Db(), transaction))
            rows.append({row.Pujceno, row.Sleva});
    });
    slevy_->setRows(rows);
    const TSpecCena::Values& values = context_.SpecCena().Current();
    for (std::size_t i = 0; i < days_.size(); ++i)
        days_[i]->setChecked(values.Plat[i]);
    ChBlokPujceni->setChecked(values.BlokPujceni);
    EBlokDny->setValue(values.BlokDny);
    EBlokDny->setEnabled(values.BlokPujceni);
    MarkSaved();
}

QWidget* TPagePujcky::FirstInput() {
    return GridSlevy;
}

bool TPagePujcky::Save() {
    GridSlevy->postRow();
    QList<TDiscountRow> rows;
    for (int row = 0; row < slevy_->rowCount(); ++row) {
        const QVariant pujceno = slevy_->value(row, QStringLiteral("PUJCENO"));
        const QVariant sleva = slevy_->value(row, QStringLiteral("SLEVA"));
        if (pujceno.isNull() || sleva.isNull() || pujceno.toInt() < 0 || sleva.toDouble() < 0) {
            Warn(QStringLiteral(
                     "Sleva na řádku %1 nemá zadán počet titulů nebo výši slevy. Data nelze uložit.")
                     .arg(row + 1));
            return false;
        }
        rows.append({pujceno.toInt(), sleva.toDouble()});
    }
    std::array<bool, 7> days{};
    for (std::size_t i = 0; i < days_.size(); ++i)
        days[i] = days_[i]->isChecked();
    const TWaitBox wait(QStringLiteral("Ulkádám půjčky..."));
    SavePrices(context_.Db(), context_.SpecCena(), rows, days,
               TBlockSetting{ChBlokPujceni->isChecked(), EBlokDny->valueInt()});
    MarkSaved();
    return true;
}
