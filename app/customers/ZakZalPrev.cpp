#include "ZakZalPrev.h"

#include "AppContext.h"

namespace {

// A negative amount lowers what the customer holds, as a correction; never below nothing.
constexpr double kLowest = -999999999;

} // namespace

TFZakZalPrev::TFZakZalPrev(TAppContext& ctx, QWidget* parent)
    : TDepositEntry(ctx,
                    {QStringLiteral("Převzetí zálohy"), QStringLiteral("P&oznámka k převzetí:"),
                     QStringLiteral("&Uložit převzetí"),
                     QStringLiteral("Převzetí zálohy nebylo uloženo. Uložit?")},
                    kLowest, parent) {
    setObjectName(QStringLiteral("FZakZalPrev"));
}

TDepositSave TFZakZalPrev::Write(double amount, const QString& note) {
    return TakeDeposit(ctx_.Db(),
                       {kodZak_, amount, note, ctx_.CurrentUser.KodUziv, ctx_.SpecCena().GetMena()});
}
