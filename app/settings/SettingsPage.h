#pragma once

#include <QWidget>

class QLineEdit;
class TAppContext;
class TMoxButton;

// One page of the settings desk. Any change of its editors enables its save button; leaving the
// page or the desk with the button enabled asks whether to save.
class TSettingsPage : public QWidget {
    Q_OBJECT
public:
    // The save button is named as on the form ("BUlozPujcky", "BUlozUziv", …).
    TSettingsPage(TAppContext& context, const char* saveName, QWidget* parent);

    // Fills the page from the database or the files; called every time it is shown.
    virtual void Load() = 0;
    // The input that takes the focus when the page is shown.
    virtual QWidget* FirstInput() = 0;
    // Work that must be finished or dropped before the database is closed (backup, restore).
    bool Dirty() const;
    // The dirty-state rule: Ano saves and leaves only when the save worked, Ne drops the changes,
    // Zpět stays.
    bool CanLeavePage();
    // Saves and reports a failure; true when stored. The changes stay on the page otherwise.
    bool SaveReported();

protected:
    // Stores the page; false (after telling the clerk why) when nothing was written.
    virtual bool Save() = 0;
    // Connects an editor's change signal to the dirty state.
    template <typename Sender, typename Signal> void Watch(Sender* sender, Signal signal) {
        connect(sender, signal, this, [this] { MarkChanged(); });
    }
    void MarkChanged();
    void MarkSaved();
    // Lets the clerk pick a folder (starting at the field's, or the program's) into the field.
    void ChooseFolderInto(QLineEdit* field, const QString& caption);
    // True while the page itself fills its editors: those are not the clerk's changes.
    bool Loading() const { return loading_ > 0; }
    class TLoading final {
    public:
        explicit TLoading(TSettingsPage& page) : page_(page) { ++page_.loading_; }
        ~TLoading() { --page_.loading_; }
        TLoading(const TLoading&) = delete;
        TLoading& operator=(const TLoading&) = delete;

    private:
        TSettingsPage& page_;
    };

    TAppContext& context_;
    TMoxButton* BUloz = nullptr; // "Uložit změny"

private:
    int loading_ = 0;
};
