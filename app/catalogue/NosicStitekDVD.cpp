#include "NosicStitekDVD.h"

TFNosicStitekDVD::TFNosicStitekDVD(QWidget* parent) : TNosicStitekForm(DvdLabelLayout(), parent) {
    setObjectName(QStringLiteral("FNosicStitekDVD"));
}
