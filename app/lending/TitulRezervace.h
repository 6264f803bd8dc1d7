#pragma once

#include "GlobDB.h"
#include "ReservationWindow.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <vector>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxCheckBox;
class TMoxEdit;
class TMoxGrid;
class TMoxLabel;
class TMoxNumEdit;

// What the clerk chose: the title and the period [first day, end day).
struct TReservationChoice {
    int kodTitul = 0;
    QString typNosice;
    QString nazevCesky;
    QString eanKod; // the title's own code
    QDate terminPujceni;
    QDate terminVraceni;
    int pocetCelkem = 0;
};

// The rows of a name search and the one shown.
struct TNameBrowse {
    std::vector<TReservableTitle> rows;
    int current = -1;
};

// "Rezervace titulu": finds a title, shows how many of its media are free on each day of a
// 14-day window, and lets the clerk pick a free first day and a length. It writes nothing; the
// lending desk keeps the choice and writes it with the visit.
class TFTitulRezervace final : public QDialog {
    Q_OBJECT
public:
    // The dialog's results, as the lending desk reads them.
    static constexpr int kRezervovat = 6;
    static constexpr int kZrusitRezervaci = 7;
    static constexpr int kZavrit = 2;

    explicit TFTitulRezervace(TAppContext& context, QWidget* parent = nullptr);
    ~TFTitulRezervace() override;
    Q_DISABLE_COPY_MOVE(TFTitulRezervace)

    // Changing a reservation: keeps its first day and length chosen, offers "&Zrušit rezervaci"
    // and locks the search on the title that follows.
    void PresetChange(const QDate& first, int days);
    // Searches for the medium's title, also while the search is locked.
    void SearchMedium(int kodNosic);
    // Searches for the title through its first medium that is not retired.
    void SearchTitle(int kodTitul);
    // The customer whose own reservations do not count against the free media.
    void SetCustomer(int kodZak);

    TReservationChoice Choice() const;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    // Runs a search or a window step on the dialog's transaction, committed at its end.
    void InTransaction(const std::function<void()>& work);
    void Hledej();
    void SearchByCode(const QString& typed);
    void SearchByName(const QString& nameText);
    void CloseNameSearch();
    void ShowNameRow(int row);
    void ShowTitle(const TReservableTitle& title);
    void BuildWindow(const QDate& start);
    void ShowWindow(const std::vector<TFreeDay>& days);
    void ChooseDay();
    void ChooseRow(int row);
    bool CurrentRowChoosable() const;
    bool Changing() const;

    TAppContext& context_;
    TTransaction transaction_;
    int kodZak_ = -1;
    bool hasTitle_ = false;
    TReservableTitle title_;
    TNameBrowse names_;
    QDate windowStart_;
    QDate chosen_;
    std::vector<TFreeDay> days_;

    TMoxEdit* eKod_;
    TMoxEdit* eNazevHledej_;
    TMoxButton* bHledej_;
    TMoxButton* bPredchozi_;
    TMoxButton* bNasledujici_;
    TMoxLabel* lFiltr_;
    TMoxLabel* lPozice_;
    TMoxEdit* eNazev_;
    TMoxEdit* eNazevOrig_;
    TMoxCheckBox* chDvd_;
    TMoxCheckBox* chVhs_;
    TMoxNumEdit* eCelkem_;
    TMoxNumEdit* eStavem_;
    TMemTable* tableVolne_;
    TMoxGrid* gridVolne_;
    TMoxButton* bPredchozich_;
    TMoxButton* bNasledujicich_;
    TMoxButton* bVybrat_;
    TMoxEdit* eTermin_;
    TMoxNumEdit* ePocetDni_;
    TMoxButton* bRezervovat_;
    TMoxButton* bZrusit_;
    TMoxButton* bZavrit_;
};
