#include "ZakZalVrac.h"

#include "AppContext.h"
#include "MoxNumEdit.h"

TFZakZalVrac::TFZakZalVrac(TAppContext& ctx, QWidget* parent)
    : TDepositEntry(ctx,
                    {QStringLiteral("Vrácení zálohy"), QStringLiteral("P&oznámka k vrácení:"),
                     QStringLiteral("&Uložit vrácení"),
                     QStringLiteral("Vrácení zálohy nebylo uloženo. Uložit?")},
                    0, parent) {
    setObjectName(QStringLiteral("FZakZalVrac"));
}

void TFZakZalVrac::SetZakaznik(int kodZak, double held) {
    kodZak_ = kodZak;
    ECastka->setValue(held);
    ECastka->selectAll();
}

TDepositSave TFZakZalVrac::Write(double amount, const QString& note) {
    return ReturnDeposit(ctx_.Db(),
                         {kodZak_, amount, note, ctx_.CurrentUser.KodUziv, ctx_.SpecCena().GetMena()});
}
