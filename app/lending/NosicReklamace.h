#pragma once

#include "MediumLookup.h"
#include "NosicHledani.h"

class TMoxEdit;

// "Reklamace nosiče": finds a medium out on loan by its code and takes the complaint's reason.
class TFNosicReklamace final : public TFNosicHledani {
    Q_OBJECT
public:
    explicit TFNosicReklamace(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNosicReklamace)

    const TMediumOnLoan& Medium() const { return medium_; }
    QString Duvod() const;

protected:
    std::optional<TTitleShown> Find(const QString& typed) override;
    void Found() override;

private:
    void FollowReason();

    TMediumOnLoan medium_;
    TMoxEdit* eDuvod_;
};
