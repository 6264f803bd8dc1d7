#pragma once

#include "Desk.h"
#include "FilmySave.h"
#include "TitulyData.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QWidget;
class TAppContext;
class TFilmyObrazek;
class TMemTable;
class TMoxButton;
class TMoxCheckBox;
class TMoxCheckListBox;
class TMoxComboBox;
class TMoxEdit;
class TMoxGrid;
class TMoxMemo;
class TMoxNumEdit;
class TPictureFrame;
class TSearchBrowse;
class TTarnPageControl;
class TTransaction;

// The titles desk: the catalogue of titles, their media with label codes and purchase
// prices, covers and further pictures. Controls carry their names as object names.
class TFFilmy final : public TDesk {
    Q_OBJECT
public:
    // Asks for a JPEG file to open, starting in the given folder; empty when cancelled.
    using TFileChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;

    explicit TFFilmy(TAppContext& context, QWidget* parent = nullptr);
    ~TFFilmy() override;
    Q_DISABLE_COPY_MOVE(TFFilmy)

    void ShowDesk(bool flag = false) override;
    bool CanLeave() override;
    void LeaveDesk() override;
    void OpenRecord(int key) override;

    void SetFileChooser(TFileChooser chooser) { fileChooser_ = std::move(chooser); }
    int CurrentKey() const { return key_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class TMode { Empty, View, Edit };
    enum TPage { PageTitul = 0, PagePopis = 1, PageObrazky = 2 };

    // Building the pages (FilmyLayout.cpp).
    QWidget* BuildTitulPage();
    QWidget* BuildPopisPage();
    QWidget* BuildObrazkyPage();
    QWidget* BuildSearchRow();
    void AddCaptions(QWidget* page);
    // Runs a clerk's action; a failure goes to the program's failure report and the desk goes
    // on, so no exception passes through Qt's event handling.
    void Guard(const std::function<void()>& action);
    template <typename Action> auto Guarded(Action action) {
        return [this, action] { Guard(action); };
    }
    void ConnectChanges();

    // Search, loading, modes (FilmySearch.cpp).
    bool FindCode(const QString& code);
    std::vector<int> FindName(const QString& name);
    void LoadTitle();
    void FillTitle();
    void FillCodeLists();
    void SetMode(TMode mode);
    void NovyTitul();
    void ZmenitTitul();
    void Modified();

    // Media list (FilmyMedia.cpp).
    void Pridat();
    void Vyradit();
    void RetireRow(int row);
    bool OnLoan(int kodNosic);
    void MediaChanged();
    void UpdateMediaButtons();
    std::vector<TMediumRow> MediaRows() const;
    void AppendMedium(const TMediumRow& row);
    void Stitek();
    void Statistika();

    // Covers and pictures (FilmyPictures.cpp).
    void CoverNacist(bool front);
    void CoverZiskat(bool front);
    void CoverSmazat(bool front);
    void SetCoverFile(bool front, const QString& path);
    void ShowPreview(const QImage& picture);
    QString Acquire();
    void LoadPictures();
    void ClosePictures();
    void ShowPicture();
    void MovePicture(int step);
    void AddPicture(const QString& path);
    void ObrazekSmazat();
    void UpdatePictureButtons();
    std::vector<TPictureRow> PictureRows() const;
    QString ChooseJpeg();
    QString PreviewCaption() const;

    // Validation and save (FilmyUloz.cpp).
    bool Validate();
    bool Save();
    TTitleRecord ReadTitle() const;
    void FocusCheck(TCheckFocus focus);

    TAppContext& context_;
    std::unique_ptr<TTransaction> tr_;
    TFileChooser fileChooser_;

    int key_ = -1;
    TMode mode_ = TMode::Empty;
    bool filling_ = false; // the desk itself fills controls: no change is the clerk's
    int loadedCelkem_ = 0;
    int loadedPritomno_ = 0;
    TTitleRecord loadedTitle_; // as shown after the load or the last save
    TPictureField front_;
    TPictureField back_;
    bool picturesChanged_ = false;
    bool mediaOpen_ = false;
    bool picturesOpen_ = false;
    TSearchBrowse* search_ = nullptr;

    TMemTable* tableNosice_;
    TMemTable* tableObr_;

    TMoxEdit* eHledejEAN_ = nullptr;
    TMoxEdit* eHledejNazev_ = nullptr;
    TMoxButton* bHledej_ = nullptr;
    TMoxButton* bPredchozi_ = nullptr;
    TMoxButton* bNasledujici_ = nullptr;
    QLabel* lFiltr_ = nullptr;
    QLabel* lPozice_ = nullptr;
    TMoxButton* bNovyTitul_ = nullptr;
    TMoxButton* bZmenitTitul_ = nullptr;
    TMoxButton* bUlozit_ = nullptr;
    TMoxButton* bStatistika_ = nullptr;

    TTarnPageControl* pages_ = nullptr;
    TMoxEdit* eNazevCesky_ = nullptr;
    TMoxEdit* eNazevOrig_ = nullptr;
    TMoxEdit* eEANKod_ = nullptr;
    TMoxCheckBox* chTypDVD_ = nullptr;
    TMoxCheckBox* chTypVHS_ = nullptr;
    TMoxComboBox* cbZanr_ = nullptr;
    TMoxNumEdit* ePocetCelkem_ = nullptr;
    TMoxNumEdit* ePocetPritomno_ = nullptr;
    TMoxNumEdit* eCenaPujcka_ = nullptr;
    TMoxNumEdit* eCenaNakupCelkem_ = nullptr;
    QLabel* lMenaPujcka_ = nullptr;
    QLabel* lMenaNakup_ = nullptr;
    TMoxEdit* eDZmeny_ = nullptr;
    TMoxEdit* eUzivZmena_ = nullptr;
    TMoxMemo* mPoznamky_ = nullptr;
    TPictureFrame* imageObalPred_ = nullptr;
    TPictureFrame* imageObalZadni_ = nullptr;
    std::vector<TMoxButton*> coverButtons_;
    TMoxGrid* gridNosice_ = nullptr;
    TMoxButton* bPridat_ = nullptr;
    TMoxButton* bVyradit_ = nullptr;
    TMoxButton* bStitek_ = nullptr;

    TMoxEdit* eFilmRezie_ = nullptr;
    TMoxEdit* eFilmScenar_ = nullptr;
    TMoxEdit* eFilmHraji_ = nullptr;
    TMoxNumEdit* eFilmRok_ = nullptr;
    TMoxNumEdit* eFilmDelka_ = nullptr;
    TMoxEdit* eFilmZeme_ = nullptr;
    TMoxEdit* eFilmProducent_ = nullptr;
    TMoxNumEdit* eFilmPristup_ = nullptr;
    TMoxComboBox* cbFilmZvuk_ = nullptr;
    TMoxCheckListBox* lbFilmTitulky_ = nullptr;
    TMoxCheckListBox* lbFilmJazyky_ = nullptr;
    TMoxMemo* mFilmObsah_ = nullptr;

    TFilmyObrazek* imageObrazek_ = nullptr;
    QLabel* lObrPocet_ = nullptr;
    TMoxButton* bObrZpet_ = nullptr;
    TMoxButton* bObrVpred_ = nullptr;
    TMoxButton* bObrZiskat_ = nullptr;
    TMoxButton* bObrNacist_ = nullptr;
    TMoxButton* bObrSmazat_ = nullptr;

    std::vector<QWidget*> titleControls_; // enabled in view and edit mode
};
