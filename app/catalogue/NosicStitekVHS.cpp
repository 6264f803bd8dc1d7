#include "NosicStitekVHS.h"

TFNosicStitekVHS::TFNosicStitekVHS(QWidget* parent) : TNosicStitekForm(VhsLabelLayout(), parent) {
    setObjectName(QStringLiteral("FNosicStitekVHS"));
}
