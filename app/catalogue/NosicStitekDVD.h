#pragma once

#include "NosicStitekForm.h"

// The label of a DVD medium.
class TFNosicStitekDVD final : public TNosicStitekForm {
    Q_OBJECT
public:
    explicit TFNosicStitekDVD(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNosicStitekDVD)
};
