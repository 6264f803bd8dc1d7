#include "NosicReklamace.h"

#include "AppContext.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"

#include <QGridLayout>

TFNosicReklamace::TFNosicReklamace(TAppContext& context, QWidget* parent)
    : TFNosicHledani(context, QStringLiteral("Reklamace nosiče"), QStringLiteral("&Reklamovat"), parent),
      eDuvod_(new TMoxEdit(this)) {
    setObjectName(QStringLiteral("FNosicReklamace"));
    eDuvod_->setObjectName(QStringLiteral("EDuvod"));
    eDuvod_->setMaxLength(160);
    eDuvod_->setEnabled(false);
    SearchOnScan(eDuvod_);
    auto* caption = new TMoxLabel(QStringLiteral("Důvod r&eklamace:"), this);
    caption->setBuddy(eDuvod_);
    Extra()->addWidget(caption, 0, 0);
    Extra()->addWidget(eDuvod_, 1, 0);
    connect(eDuvod_, &TMoxEdit::textChanged, this, &TFNosicReklamace::FollowReason);
}

QString TFNosicReklamace::Duvod() const {
    return eDuvod_->text();
}

std::optional<TFNosicHledani::TTitleShown> TFNosicReklamace::Find(const QString& typed) {
    const std::optional<TMediumOnLoan> found = FindMediumOnLoan(Context().Db(), Transaction(), typed);
    if (!found)
        return std::nullopt;
    medium_ = *found;
    return TTitleShown{found->nazevCesky, found->nazevOrig, found->typNosice};
}

void TFNosicReklamace::Found() {
    // What was written belongs to the medium found before.
    eDuvod_->clear();
    eDuvod_->setEnabled(true);
    eDuvod_->setFocus();
    FollowReason();
}

void TFNosicReklamace::FollowReason() {
    // A complaint refunds the whole loan: it needs a reason that says something.
    Confirm()->setEnabled(HasMedium() && !eDuvod_->text().trimmed().isEmpty());
}
