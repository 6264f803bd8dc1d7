#include "Filmy.h"

#include "AppContext.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxCheckListBox.h"
#include "MoxComboBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "TarnPageControl.h"
#include "Transaction.h"

#include <QScopedValueRollback>

#include <exception>
#include <optional>

namespace {

QString PositionString(const TMoxCheckListBox& list) {
    std::vector<TCheckEntry> entries;
    for (int i = 0; i < list.count(); ++i)
        entries.push_back({list.item(i)->data(Qt::UserRole).toInt(), list.isChecked(i)});
    return CheckListToCodes(entries);
}

} // namespace

TTitleRecord TFFilmy::ReadTitle() const {
    TTitleRecord t;
    t.kodTitul = key_;
    t.nazevCesky = eNazevCesky_->text();
    t.nazevOrig = eNazevOrig_->text();
    t.eanKod = eEANKod_->text();
    if (chTypDVD_->isChecked())
        t.typNosice = u'D';
    else if (chTypVHS_->isChecked())
        t.typNosice = u'V';
    t.zanr = cbZanr_->currentCode();
    t.pocetCelkem = ePocetCelkem_->valueInt();
    t.pocetPritomno = ePocetPritomno_->valueInt();
    t.cenaPujcka = eCenaPujcka_->value();
    t.poznamky = mPoznamky_->toPlainText();
    t.rezie = eFilmRezie_->text();
    t.scenar = eFilmScenar_->text();
    t.hraji = eFilmHraji_->text();
    t.rok = eFilmRok_->valueInt();
    t.delka = eFilmDelka_->valueInt();
    t.pristup = eFilmPristup_->valueInt();
    t.zeme = eFilmZeme_->text();
    t.producent = eFilmProducent_->text();
    t.obsah = mFilmObsah_->toPlainText();
    t.zvuk = cbFilmZvuk_->currentCode();
    t.titulky = PositionString(*lbFilmTitulky_);
    t.jazyky = PositionString(*lbFilmJazyky_);
    return t;
}

void TFFilmy::FocusCheck(TCheckFocus focus) {
    pages_->setCurrentIndex(PageTitul);
    QWidget* target = nullptr;
    switch (focus) {
    case TCheckFocus::Name:
        target = eNazevCesky_;
        break;
    case TCheckFocus::Ean:
        target = eEANKod_;
        break;
    case TCheckFocus::Price:
        target = eCenaPujcka_;
        break;
    case TCheckFocus::TypeDvd:
        target = chTypDVD_;
        break;
    case TCheckFocus::AddButton:
        target = bPridat_;
        break;
    case TCheckFocus::Grid:
        target = gridNosice_;
        break;
    }
    target->setFocus();
}

bool TFFilmy::Validate() {
    TValidationInput input{eNazevCesky_->text(),
                           eEANKod_->text(),
                           eCenaPujcka_->value(),
                           chTypDVD_->isChecked(),
                           chTypVHS_->isChecked(),
                           mediaOpen_,
                           MediaRows()};
    for (const TCheckStep& step : ValidationSteps(input)) {
        switch (step.kind) {
        case TCheckKind::Refuse:
            Warn(step.text);
            FocusCheck(step.focus);
            return false;
        case TCheckKind::WarnYesNo:
            if (MessageDialog(step.text, TMsgKind::Warning, TMsgButtons::YesNo) != TMsgResult::Yes) {
                FocusCheck(step.focus);
                return false;
            }
            break;
        case TCheckKind::RetireQuestion:
            if (Ask(step.text) != TMsgResult::Yes) {
                FocusCheck(step.focus);
                return false;
            }
            for (int row = 0; row < static_cast<int>(input.media.size()); ++row)
                if (HasReasonWithoutRetirement(input.media[static_cast<std::size_t>(row)]))
                    RetireRow(row);
            break;
        }
    }
    return true;
}

bool TFFilmy::Save() {
    if (!Validate())
        return false;
    std::optional<TTitleSaveResult> result;
    std::exception_ptr failure;
    {
        TWaitBox wait(QStringLiteral("Ukládám filmový titul..."));
        if (tr_->Active())
            tr_->Commit();
        tableNosice_->submit();
        TTitleSave save;
        save.title = ReadTitle();
        save.loadedTitle = loadedTitle_;
        save.loadedCelkem = loadedCelkem_;
        save.loadedPritomno = loadedPritomno_;
        save.media = MediaRows();
        save.front = front_;
        save.back = back_;
        save.picturesChanged = picturesChanged_;
        save.pictures = PictureRows();
        save.userKey = context_.CurrentUser.KodUziv;
        try {
            tr_->StartTransaction();
            result = WriteTitle(context_.Db(), *tr_, save);
            tr_->Commit();
        } catch (...) {
            // Nothing of this save is kept: unsaved rows keep key -1 and no code, the
            // flags keep their values, and the same save can be tried again.
            failure = std::current_exception();
            result.reset();
            try {
                if (tr_->Active())
                    tr_->Rollback();
            } catch (...) {
                // The save's own failure is the one the clerk needs to see.
            }
        }
    }
    if (failure) {
        // Reported once the wait box is gone.
        try {
            std::rethrow_exception(failure);
        } catch (...) {
            ReportCurrentException();
        }
        return false;
    }

    {
        QScopedValueRollback filling(filling_, true);
        key_ = result->kodTitul;
        for (int row = 0; row < tableNosice_->rowCount(); ++row) {
            const auto i = static_cast<std::size_t>(row);
            tableNosice_->setValue(row, QStringLiteral("KOD_NOSIC"), result->mediaKeys[i]);
            tableNosice_->setValue(row, QStringLiteral("EAN_KOD"), result->mediaCodes[i]);
            tableNosice_->setValue(row, QStringLiteral("SAVED_NOSIC"), true);
            tableNosice_->setValue(row, QStringLiteral("ZRUSEN_PRI_NACTENI"),
                                   !tableNosice_->value(row, QStringLiteral("D_ZRUSENI")).isNull());
            tableNosice_->setValue(row, QStringLiteral("DUVOD_PRI_NACTENI"),
                                   tableNosice_->value(row, QStringLiteral("DUVOD_ZRUSENI")));
            tableNosice_->setValue(row, QStringLiteral("CENA_PRI_NACTENI"),
                                   tableNosice_->value(row, QStringLiteral("CENA_NAKUP")));
        }
        loadedCelkem_ = result->pocetCelkem;
        loadedPritomno_ = result->pocetPritomno;
        ePocetCelkem_->setValueInt(loadedCelkem_);
        ePocetPritomno_->setValueInt(loadedPritomno_);
        loadedTitle_ = ReadTitle();
        front_.changed = false;
        back_.changed = false;
        if (picturesChanged_) {
            picturesChanged_ = false;
            LoadPictures();
        }
    }
    SetMode(TMode::View);
    bZmenitTitul_->setEnabled(true);
    bStatistika_->setEnabled(true);
    bUlozit_->setEnabled(false);
    bZmenitTitul_->setFocus();
    return true;
}
