#include "UzivHistorie.h"

#include "AppContext.h"
#include "FailureGuard.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxGrid.h"
#include "MoxLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Historie přihlašování: ");

TMoxLabel* Legend(const QString& text, const QString& stav, QWidget* parent) {
    auto* label = new TMoxLabel(text, parent);
    label->setFramed(true);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, TFUzivHistorie::Background(stav));
    palette.setColor(QPalette::WindowText, TFUzivHistorie::TextColor(stav));
    label->setPalette(palette);
    return label;
}

} // namespace

TFUzivHistorie::TFUzivHistorie(TAppContext& context, QDate today, QWidget* parent)
    : QDialog(parent), context_(context), transaction_(context.Db().DB), month_{today.year(), today.month()},
      rows_(new TMemTable({QStringLiteral("DATUM"), QStringLiteral("STAV_PRIH")}, this)),
      grid_(new TMoxGrid(this)), bZpet_(new TMoxButton(this)), bVpred_(new TMoxButton(this)) {
    rows_->setColumnTitle(QStringLiteral("DATUM"), QStringLiteral("Datum"));
    rows_->setColumnTitle(QStringLiteral("STAV_PRIH"), QStringLiteral("Stav"));
    grid_->setObjectName(QStringLiteral("GridHistorie"));
    grid_->setModel(rows_);
    grid_->setReadOnly(true);
    grid_->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted)
            return;
        const QString stav = rows_->value(cell.row, QStringLiteral("STAV_PRIH")).toString();
        cell.background = Background(stav);
        cell.fontColor = TextColor(stav);
    });
    bZpet_->setObjectName(QStringLiteral("BZpet"));
    bVpred_->setObjectName(QStringLiteral("BVpred"));
    auto* bZavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    bZavrit->setObjectName(QStringLiteral("BZavrit"));

    auto* months = new QHBoxLayout;
    months->addWidget(bZpet_);
    months->addStretch();
    months->addWidget(bVpred_);
    auto* legend = new QHBoxLayout;
    legend->addWidget(Legend(QStringLiteral("Přihlášení."), QStringLiteral("P"), this));
    legend->addWidget(Legend(QStringLiteral("Odhlášení."), QStringLiteral("O"), this));
    legend->addWidget(Legend(QStringLiteral("Chybné přihlášení."), QStringLiteral("E"), this));
    legend->addStretch();
    legend->addWidget(bZavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(months);
    layout->addWidget(grid_, 1);
    layout->addLayout(legend);
    resize(420, 480);

    connect(bZpet_, &QPushButton::clicked, this,
            [this] { RunReported([this] { LoadMonth(month_.Previous()); }); });
    connect(bVpred_, &QPushButton::clicked, this,
            [this] { RunReported([this] { LoadMonth(month_.Next()); }); });
    connect(bZavrit, &QPushButton::clicked, this, &QDialog::accept);
    LoadMonth(month_);
}

QColor TFUzivHistorie::Background(const QString& stav) {
    if (stav == QStringLiteral("P"))
        return {192, 255, 192};
    if (stav == QStringLiteral("O"))
        return {255, 192, 192};
    return {128, 0, 0};
}

QColor TFUzivHistorie::TextColor(const QString& stav) {
    return stav == QStringLiteral("P") || stav == QStringLiteral("O") ? QColor(Qt::black) : QColor(Qt::white);
}

void TFUzivHistorie::LoadMonth(TMonth month) {
    CloseQuery();
    transaction_.StartTransaction();
    auto query = context_.Db().OpenQuery(transaction_, LoginHistorySql(context_.CurrentUser.KodUziv, month));
    query->Open();
    QList<QVariantList> rows;
    for (; !query->Eof(); query->Next())
        rows.append({query->FieldByName(QStringLiteral("DATUM")).AsDateTime(),
                     query->FieldByName(QStringLiteral("STAV_PRIH")).AsString()});
    rows_->setRows(std::move(rows));
    // Only a month that loaded is named, so a failed move leaves the dialog on the month shown.
    month_ = month;
    setWindowTitle(kCaption + month.Text());
    bZpet_->setText(month.Previous().Text());
    bVpred_->setText(month.Next().Text());
}

void TFUzivHistorie::CloseQuery() {
    if (transaction_.Active())
        transaction_.Commit();
}

void TFUzivHistorie::done(int result) {
    CloseQuery();
    QDialog::done(result);
}
