#pragma once

#include "MediumLookup.h"
#include "NosicHledani.h"

class TMoxEdit;
class TMoxNumEdit;

// "Vrácení nosiče": finds a medium out on loan by its code, with a note on its state.
class TFNosicVraceni final : public TFNosicHledani {
    Q_OBJECT
public:
    explicit TFNosicVraceni(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNosicVraceni)

    const TMediumOnLoan& Medium() const { return medium_; }
    QString Zprava() const;

protected:
    std::optional<TTitleShown> Find(const QString& typed) override;
    void Found() override;

private:
    TMediumOnLoan medium_;
    TMoxNumEdit* eCelkem_;
    TMoxNumEdit* eStavem_;
    TMoxEdit* eZprava_;
};
