#include "NosicHledani.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "EnterKey.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MediumLookup.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "ScannedCode.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TFNosicHledani::TFNosicHledani(TAppContext& context, const QString& caption, const QString& confirmCaption,
                               QWidget* parent)
    : QDialog(parent), context_(context), transaction_(context.Db().DB), eNosic_(new TMoxEdit(this)),
      bHledej_(new TMoxButton(QStringLiteral("Hledej"), this)), eNazev_(new TMoxEdit(this)),
      eNazevOrig_(new TMoxEdit(this)), chDvd_(new TMoxCheckBox(QStringLiteral("&DVD"), this)),
      chVhs_(new TMoxCheckBox(QStringLiteral("V&HS"), this)), extra_(new QGridLayout),
      confirm_(new TMoxButton(confirmCaption, this)) {
    setWindowTitle(caption);
    SetDeskSurface(this);

    eNosic_->setObjectName(QStringLiteral("ENosic"));
    eNosic_->setMaxLength(16);
    RunOnEnter(eNosic_, [this] { bHledej_->click(); });
    bHledej_->setObjectName(QStringLiteral("BHledej"));
    eNazev_->setObjectName(QStringLiteral("ENazevCesky"));
    eNazev_->setMaxLength(240);
    eNazevOrig_->setObjectName(QStringLiteral("ENazevOrig"));
    eNazevOrig_->setMaxLength(240);
    MakeMediumTypeChoices(chDvd_, chVhs_);
    for (TMoxCheckBox* choice : {chDvd_, chVhs_})
        choice->setReadOnly(true);
    for (TMoxEdit* field : {eNazev_, eNazevOrig_})
        field->setReadOnly(true);
    confirm_->setObjectName(QStringLiteral("BPotvrdit"));
    confirm_->setDefault(true);
    confirm_->setEnabled(false);
    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));

    auto* fields = new QGridLayout;
    fields->addWidget(Caption(QStringLiteral("CN kód &nosiče:"), eNosic_, this), 0, 0);
    auto* search = new QHBoxLayout;
    search->addWidget(eNosic_, 1);
    search->addWidget(bHledej_);
    fields->addLayout(search, 0, 1);
    fields->addWidget(Caption(QStringLiteral("N&ázev:"), eNazev_, this), 1, 0);
    fields->addWidget(eNazev_, 1, 1);
    fields->addWidget(Caption(QStringLiteral("&Originální název:"), eNazevOrig_, this), 2, 0);
    fields->addWidget(eNazevOrig_, 2, 1);
    fields->addWidget(new TMoxLabel(QStringLiteral("Typ nosiče:"), this), 3, 0);
    auto* typ = new QHBoxLayout;
    typ->addWidget(chDvd_);
    typ->addWidget(chVhs_);
    typ->addStretch();
    fields->addLayout(typ, 3, 1);
    fields->setColumnStretch(1, 1);
    eNosic_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 18);
    eNazev_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 40);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(zavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(extra_);
    layout->addStretch();
    layout->addLayout(buttons);

    for (QWidget* titleField : std::initializer_list<QWidget*>{eNazev_, eNazevOrig_, chDvd_, chVhs_})
        titleField->setEnabled(false);
    connect(bHledej_, &TMoxButton::clicked, this, [this] { RunReported([this] { Hledej(); }); });
    connect(confirm_, &TMoxButton::clicked, this, &QDialog::accept);
    connect(zavrit, &TMoxButton::clicked, this, &QDialog::reject);
    eNosic_->setFocus();
}

TFNosicHledani::~TFNosicHledani() {
    if (transaction_.Active())
        RunReported([this] { transaction_.Commit(); });
}

void TFNosicHledani::SearchFor(const QString& typed) {
    eNosic_->setText(typed);
    bHledej_->click();
}

void TFNosicHledani::SearchOnScan(QLineEdit* field) {
    RunOnScannedCode(field, [this](const QString& code) { SearchFor(code); });
}

void TFNosicHledani::Hledej() {
    const QString typed = eNosic_->text();
    if (typed.isEmpty())
        return;
    std::optional<TTitleShown> shown;
    try {
        shown = Find(typed);
        if (transaction_.Active())
            transaction_.Commit();
    } catch (...) {
        if (transaction_.Active())
            transaction_.Rollback();
        throw;
    }
    if (!shown) {
        Warn(MediumNotFoundText(typed));
        // The next scan replaces the code instead of adding to it.
        eNosic_->selectAll();
        return;
    }
    eNosic_->clear();
    eNazev_->setText(shown->nazevCesky);
    eNazevOrig_->setText(shown->nazevOrig);
    chDvd_->setChecked(shown->typNosice == QStringLiteral("D"));
    chVhs_->setChecked(shown->typNosice == QStringLiteral("V"));
    for (QWidget* titleField : std::initializer_list<QWidget*>{eNazev_, eNazevOrig_, chDvd_, chVhs_})
        titleField->setEnabled(true);
    hasMedium_ = true;
    confirm_->setEnabled(true);
    Found();
}
