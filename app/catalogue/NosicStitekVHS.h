#pragma once

#include "NosicStitekForm.h"

// The label of a VHS medium.
class TFNosicStitekVHS final : public TNosicStitekForm {
    Q_OBJECT
public:
    explicit TFNosicStitekVHS(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNosicStitekVHS)
};
