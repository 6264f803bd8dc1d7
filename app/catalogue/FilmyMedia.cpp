#include "Filmy.h"

#include "AppContext.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxNumEdit.h"
#include "NosicStitekDVD.h"
#include "NosicStitekVHS.h"
#include "TitulHistorie.h"
#include "Transaction.h"

void TFFilmy::AppendMedium(const TMediumRow& row) {
    // The desk's own rows pass the guard; the clerk's insert keys never do.
    tableNosice_->appendRecord({row.eanKod, row.cenaNakup, row.dPrijmu, row.uzivPrijal,
                                row.dZruseni.isValid() ? QVariant(row.dZruseni) : QVariant(), row.uzivZrusil,
                                row.duvod, row.kodNosic, row.saved, row.retiredAtLoad, row.duvodAtLoad,
                                row.onLoanAtRetirement, row.cenaAtLoad});
}

std::vector<TMediumRow> TFFilmy::MediaRows() const {
    std::vector<TMediumRow> rows;
    for (int i = 0; i < tableNosice_->rowCount(); ++i) {
        const auto v = [this, i](const char* column) {
            return tableNosice_->value(i, QString::fromLatin1(column));
        };
        TMediumRow row;
        row.kodNosic = v("KOD_NOSIC").toInt();
        row.eanKod = v("EAN_KOD").toString();
        row.cenaNakup = v("CENA_NAKUP").toDouble();
        row.dPrijmu = v("D_PRIJMU").toDateTime();
        row.uzivPrijal = v("UZIV_PRIJAL").toString();
        row.dZruseni = v("D_ZRUSENI").toDateTime();
        row.uzivZrusil = v("UZIV_ZRUSIL").toString();
        row.duvod = v("DUVOD_ZRUSENI").toString();
        row.saved = v("SAVED_NOSIC").toBool();
        row.retiredAtLoad = v("ZRUSEN_PRI_NACTENI").toBool();
        row.duvodAtLoad = v("DUVOD_PRI_NACTENI").toString();
        row.onLoanAtRetirement = v("PUJCEN_PRI_VYRAZENI").toBool();
        row.cenaAtLoad = v("CENA_PRI_NACTENI").toDouble();
        rows.push_back(row);
    }
    return rows;
}

void TFFilmy::Pridat() {
    TMediumRow row;
    row.dPrijmu = QDateTime(QDate::currentDate(), QTime(0, 0));
    row.uzivPrijal = context_.CurrentUser.Jmeno;
    AppendMedium(row);
    tableNosice_->setCurrentRow(tableNosice_->rowCount() - 1);
    ePocetCelkem_->setValueInt(ePocetCelkem_->valueInt() + 1);
    ePocetPritomno_->setValueInt(ePocetPritomno_->valueInt() + 1);
}

void TFFilmy::Vyradit() {
    const int row = tableNosice_->currentRow();
    if (row < 0 || !tableNosice_->value(row, QStringLiteral("D_ZRUSENI")).isNull())
        return;
    if (tableNosice_->value(row, QStringLiteral("KOD_NOSIC")).toInt() == -1) {
        // A medium never stored is never on loan.
        tableNosice_->deleteRecord(row);
        ePocetCelkem_->setValueInt(ePocetCelkem_->valueInt() - 1);
        ePocetPritomno_->setValueInt(ePocetPritomno_->valueInt() - 1);
        return;
    }
    RetireRow(row);
}

void TFFilmy::RetireRow(int row) {
    const int kodNosic = tableNosice_->value(row, QStringLiteral("KOD_NOSIC")).toInt();
    const bool onLoan = kodNosic != -1 && OnLoan(kodNosic);
    tableNosice_->setValue(row, QStringLiteral("D_ZRUSENI"), QDateTime(QDate::currentDate(), QTime(0, 0)));
    tableNosice_->setValue(row, QStringLiteral("UZIV_ZRUSIL"), context_.CurrentUser.Jmeno);
    tableNosice_->setValue(row, QStringLiteral("PUJCEN_PRI_VYRAZENI"), onLoan);
    ePocetCelkem_->setValueInt(ePocetCelkem_->valueInt() - 1);
    if (!onLoan)
        ePocetPritomno_->setValueInt(ePocetPritomno_->valueInt() - 1);
}

bool TFFilmy::OnLoan(int kodNosic) {
    auto query = context_.Db().OpenQuery(*tr_, OpenLoanSql(kodNosic));
    query->Open();
    const bool onLoan = !query->Eof();
    query.reset();
    if (tr_->Active())
        tr_->Commit();
    return onLoan;
}

void TFFilmy::MediaChanged() {
    eCenaNakupCelkem_->setValue(PurchaseTotal(MediaRows()));
    UpdateMediaButtons();
    Modified();
}

void TFFilmy::UpdateMediaButtons() {
    // The table tells of a reset before it moves its current row off the dropped rows.
    const int row = tableNosice_->currentRow();
    bVyradit_->setEnabled(mode_ == TMode::Edit && row >= 0 && row < tableNosice_->rowCount() &&
                          tableNosice_->value(row, QStringLiteral("D_ZRUSENI")).isNull());
    bStitek_->setEnabled(mediaOpen_ && !tableNosice_->isEmpty());
}

void TFFilmy::Stitek() {
    if (!mediaOpen_ || tableNosice_->isEmpty() || !CanLeave())
        return;
    const int row = std::max(0, tableNosice_->currentRow());
    const QString code = tableNosice_->value(row, QStringLiteral("EAN_KOD")).toString();
    const QString text = LabelText(eNazevCesky_->text(), eNazevOrig_->text());
    if (chTypDVD_->isChecked()) {
        TFNosicStitekDVD label(this);
        label.SetTitleText(text);
        label.SetCode(code);
        ExecModal(label);
    } else if (chTypVHS_->isChecked()) {
        TFNosicStitekVHS label(this);
        label.SetTitleText(text);
        label.SetCode(code);
        ExecModal(label);
    }
}

void TFFilmy::Statistika() {
    if (key_ == -1)
        return;
    TFTitulHistorie history(context_, this);
    history.SetName(eNazevCesky_->text());
    history.ShowHistory(key_);
}
