#include "Filmy.h"

#include "AppContext.h"
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
#include "PictureFrame.h"
#include "Pictures.h"
#include "SearchBrowse.h"
#include "TarnPageControl.h"
#include "Transaction.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>

namespace {

void SetReadOnly(QWidget* control, bool readOnly) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setReadOnly(readOnly);
    else if (auto* memo = qobject_cast<TMoxMemo*>(control))
        memo->setReadOnly(readOnly);
    else if (auto* choice = qobject_cast<TMoxCheckBox*>(control))
        choice->setReadOnly(readOnly);
    else if (auto* list = qobject_cast<TMoxComboBox*>(control))
        list->setReadOnly(readOnly);
    else if (auto* checks = qobject_cast<TMoxCheckListBox*>(control))
        checks->setReadOnly(readOnly);
    else if (auto* grid = qobject_cast<TMoxGrid*>(control))
        grid->setReadOnly(readOnly);
}

void CommitIfActive(TTransaction& transaction) {
    if (transaction.Active())
        transaction.Commit();
}

} // namespace

void TFFilmy::ShowDesk(bool) {
    const QString mena = context_.SpecCena().GetMena();
    lMenaPujcka_->setText(mena);
    lMenaNakup_->setText(mena);
    FillCodeLists();
    eHledejEAN_->setFocus();
    SetMode(TMode::Empty);
}

void TFFilmy::OpenRecord(int key) {
    key_ = key;
    LoadTitle();
}

bool TFFilmy::CanLeave() {
    if (!bUlozit_->isEnabled())
        return true;
    switch (Ask(kUnsavedQuestion, true)) {
    case TMsgResult::Yes:
        return Save();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TFFilmy::LeaveDesk() {
    CommitIfActive(*tr_);
    tableNosice_->clear();
    mediaOpen_ = false;
    ClosePictures();
    search_->Close();
}

void TFFilmy::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        TDesk::keyPressEvent(event);
        return;
    }
    // The search fields press "Hledej" themselves; the title's EAN field presses nothing.
    const QWidget* focus = focusWidget();
    if (focus == eHledejEAN_ || focus == eHledejNazev_ || focus == eEANKod_)
        return;
    if (bUlozit_->isEnabled())
        Guard([this] { Save(); });
}

void TFFilmy::FillCodeLists() {
    TDMGlobDB& db = context_.Db();
    QScopedValueRollback filling(filling_, true);
    for (auto [list, sql] : {std::pair{cbZanr_, kZanrySql}, std::pair{cbFilmZvuk_, kFormatyZvukuSql}}) {
        if (list->count() > 0)
            continue;
        auto query = db.OpenQuery(*tr_, sql);
        for (query->Open(); !query->Eof(); query->Next())
            list->addItem(query->Fields(1).AsString(), query->Fields(0).AsInteger());
        list->setCurrentIndex(-1);
    }
    for (auto [list, sql] :
         {std::pair{lbFilmTitulky_, kFilmTitulkySql}, std::pair{lbFilmJazyky_, kFilmJazykySql}}) {
        if (list->count() > 0)
            continue;
        auto query = db.OpenQuery(*tr_, sql);
        for (query->Open(); !query->Eof(); query->Next())
            list->addCheckItem(query->Fields(0).AsString())
                ->setData(Qt::UserRole, query->Fields(1).AsInteger());
    }
    CommitIfActive(*tr_);
}

bool TFFilmy::FindCode(const QString& code) {
    auto query = context_.Db().OpenQuery(*tr_, CodeSearchSql(code));
    query->Open();
    const bool found = !query->Eof();
    const int key = found ? query->FieldByName(QStringLiteral("KOD_TITUL")).AsInteger() : -1;
    query.reset();
    CommitIfActive(*tr_);
    if (!found) {
        Warn(CodeNotFoundText(code));
        return false;
    }
    OpenRecord(key);
    return true;
}

std::vector<int> TFFilmy::FindName(const QString& name) {
    TDMGlobDB& db = context_.Db();
    std::vector<int> keys;
    TTransaction searchTr(db.DB);
    auto query = db.OpenQuery(searchTr, NameSearchSql(name));
    for (query->Open(); !query->Eof(); query->Next())
        keys.push_back(query->Fields(0).AsInteger());
    query.reset();
    searchTr.Commit();
    return keys;
}

void TFFilmy::LoadTitle() {
    try {
        FillTitle();
    } catch (...) {
        // A title shown in part must not be edited and saved over the one asked for.
        SetMode(TMode::Empty);
        throw;
    }
}

void TFFilmy::FillTitle() {
    TDMGlobDB& db = context_.Db();
    QScopedValueRollback filling(filling_, true);
    tableNosice_->clear();
    mediaOpen_ = true;
    ClosePictures();
    pages_->setCurrentIndex(PageTitul);

    auto title = db.OpenQuery(*tr_, LoadTitleSql(key_));
    title->Open();
    if (title->Eof()) {
        title.reset();
        CommitIfActive(*tr_);
        SetMode(TMode::Empty);
        ReportError(kTitleNotFound);
        return;
    }
    const auto f = [&title](const char* column) { return title->FieldByName(QString::fromLatin1(column)); };
    eNazevCesky_->setText(f("NAZEV_CESKY").AsString());
    eNazevOrig_->setText(f("NAZEV_ORIG").AsString());
    eEANKod_->setText(f("EAN_KOD").AsString());
    const QString typ = f("TYP_NOSICE").AsString();
    chTypDVD_->setChecked(typ == QStringLiteral("D"));
    chTypVHS_->setChecked(typ == QStringLiteral("V"));
    cbZanr_->setCurrentCode(f("FILM_ZANR").IsNull() ? -1 : f("FILM_ZANR").AsInteger());
    loadedCelkem_ = f("POCET_CELKEM").AsInteger();
    loadedPritomno_ = f("POCET_PRITOMNO").AsInteger();
    ePocetCelkem_->setValueInt(loadedCelkem_);
    ePocetPritomno_->setValueInt(loadedPritomno_);
    eCenaPujcka_->setValue(f("CENA_PUJCKA").AsFloat());
    // A title never changed has no time of change; it shows none rather than the zero date.
    eDZmeny_->setText(f("D_ZMENY").IsNull()
                          ? QString()
                          : DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm"),
                                           QStringLiteral(" "), f("D_ZMENY").AsDateTime()));
    eUzivZmena_->setText(f("UZIV_ZMENA_JM").AsString());
    mPoznamky_->setPlainText(f("POZNAMKY").AsString());
    eFilmRezie_->setText(f("FILM_REZIE").AsString());
    eFilmScenar_->setText(f("FILM_SCENAR").AsString());
    eFilmHraji_->setText(f("FILM_HRAJI").AsString());
    eFilmRok_->setValueInt(f("FILM_ROK").AsInteger());
    eFilmDelka_->setValueInt(f("FILM_DELKA").AsInteger());
    eFilmPristup_->setValueInt(f("FILM_PRISTUP").AsInteger());
    eFilmZeme_->setText(f("FILM_ZEME").AsString());
    eFilmProducent_->setText(f("FILM_PRODUCENT").AsString());
    mFilmObsah_->setPlainText(f("FILM_OBSAH").AsString());
    cbFilmZvuk_->setCurrentCode(f("FILM_ZVUK").IsNull() ? -1 : f("FILM_ZVUK").AsInteger());
    for (auto [list, column] :
         {std::pair{lbFilmTitulky_, "FILM_TITULKY"}, std::pair{lbFilmJazyky_, "FILM_JAZYKY"}}) {
        std::vector<TCheckEntry> entries;
        for (int i = 0; i < list->count(); ++i)
            entries.push_back({list->item(i)->data(Qt::UserRole).toInt(), false});
        CodesToCheckList(f(column).AsString(), entries);
        for (int i = 0; i < list->count(); ++i)
            list->setChecked(i, entries[static_cast<std::size_t>(i)].checked);
    }
    imageObalPred_->SetPicture(PictureFromBlob(f("OBAL_PRED").AsBytes()));
    imageObalZadni_->SetPicture(PictureFromBlob(f("OBAL_ZA").AsBytes()));
    front_ = {};
    back_ = {};
    picturesChanged_ = false;
    title.reset();

    auto media = db.OpenQuery(*tr_, LoadMediaSql(key_));
    for (media->Open(); !media->Eof(); media->Next()) {
        const auto m = [&media](const char* column) {
            return media->FieldByName(QString::fromLatin1(column));
        };
        TMediumRow row;
        row.kodNosic = m("KOD_NOSIC").AsInteger();
        row.eanKod = m("EAN_KOD").AsString();
        row.cenaNakup = m("CENA_NAKUP").AsFloat();
        row.dPrijmu = m("D_PRIJMU").AsDateTime();
        row.uzivPrijal = m("UZIV_PRIJAL").AsString();
        row.dZruseni = m("D_ZRUSENI").AsDateTime();
        row.uzivZrusil = m("UZIV_ZRUSIL").AsString();
        row.duvod = m("DUVOD_ZRUSENI").AsString();
        row.saved = true;
        row.retiredAtLoad = row.dZruseni.isValid();
        row.duvodAtLoad = row.duvod;
        row.cenaAtLoad = row.cenaNakup;
        AppendMedium(row);
    }
    media.reset();
    if (!tableNosice_->isEmpty())
        tableNosice_->setCurrentRow(0);
    MediaChanged();
    CommitIfActive(*tr_);
    loadedTitle_ = ReadTitle();

    SetMode(TMode::View);
    bZmenitTitul_->setEnabled(true);
    bStatistika_->setEnabled(true);
    bUlozit_->setEnabled(false);
    bZmenitTitul_->setFocus();
}

void TFFilmy::SetMode(TMode mode) {
    mode_ = mode;
    const bool edit = mode == TMode::Edit;
    for (QWidget* control : titleControls_) {
        control->setEnabled(mode != TMode::Empty);
        SetReadOnly(control, !edit);
    }
    for (QWidget* fixed : std::initializer_list<QWidget*>{ePocetCelkem_, ePocetPritomno_, eCenaNakupCelkem_,
                                                          eDZmeny_, eUzivZmena_})
        SetReadOnly(fixed, true);
    bPridat_->setEnabled(edit);
    for (TMoxButton* button : coverButtons_)
        button->setEnabled(edit);
    if (mode == TMode::Empty) {
        bZmenitTitul_->setEnabled(false);
        bStatistika_->setEnabled(false);
        bUlozit_->setEnabled(false);
    }
    UpdateMediaButtons();
    UpdatePictureButtons();
}

void TFFilmy::NovyTitul() {
    if (!CanLeave())
        return;
    {
        QScopedValueRollback filling(filling_, true);
        key_ = -1;
        for (TMoxEdit* edit : {eNazevCesky_, eNazevOrig_, eEANKod_, eDZmeny_, eUzivZmena_, eFilmRezie_,
                               eFilmScenar_, eFilmHraji_, eFilmZeme_, eFilmProducent_})
            edit->clear();
        chTypDVD_->setChecked(false);
        chTypVHS_->setChecked(false);
        cbZanr_->setCurrentIndex(-1);
        cbFilmZvuk_->setCurrentIndex(-1);
        for (TMoxNumEdit* number :
             {ePocetCelkem_, ePocetPritomno_, eCenaPujcka_, eCenaNakupCelkem_, eFilmDelka_, eFilmPristup_})
            number->setValue(0);
        eFilmRok_->setValueInt(2000);
        mPoznamky_->clear();
        mFilmObsah_->clear();
        for (TMoxCheckListBox* list : {lbFilmTitulky_, lbFilmJazyky_})
            for (int i = 0; i < list->count(); ++i)
                list->setChecked(i, false);
        imageObalPred_->Clear();
        imageObalZadni_->Clear();
        front_ = {};
        back_ = {};
        loadedCelkem_ = 0;
        loadedPritomno_ = 0;
        tableNosice_->clear();
        mediaOpen_ = true;
        Pridat();
        picturesChanged_ = false;
        ClosePictures();
    }
    SetMode(TMode::Edit);
    pages_->setCurrentIndex(PageTitul);
    eNazevCesky_->setFocus();
    bZmenitTitul_->setEnabled(false);
    bStatistika_->setEnabled(false);
    bUlozit_->setEnabled(false);
}

void TFFilmy::ZmenitTitul() {
    SetMode(TMode::Edit);
    if (pages_->currentIndex() == PageTitul)
        eNazevCesky_->setFocus();
    else if (pages_->currentIndex() == PagePopis)
        eFilmRezie_->setFocus();
    bZmenitTitul_->setEnabled(false);
    bUlozit_->setEnabled(false);
}

void TFFilmy::Modified() {
    if (!filling_ && mode_ == TMode::Edit)
        bUlozit_->setEnabled(true);
}
