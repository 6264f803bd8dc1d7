#pragma once

#include <QFlags>

// Enumerations shared by the shop's buttons and check boxes.

enum TOption {
    cbDottedBox = 0x01,
    cbLikeButtonDown = 0x02,
    cbLiteButton = 0x04,
    cbViewLikePressDown = 0x08,
    cbViewLikePressUp = 0x10,
};
Q_DECLARE_FLAGS(TOptions, TOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOptions)

enum TImagesLayout { imImageLeft, imImageTop, imImageBottom };

enum TCheckStyle { csCheckBox, csRadioButton };

enum TCheckboxLayout { clBottom, clCenter, clTop };

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
