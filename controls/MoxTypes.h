#pragma once

#include <QFlags>

// Enumerations shared by the shop's buttons and check boxes.

enum TOption {
    cbDottedBox = 0x01,         // a focused button shows a dotted focus rectangle
    cbLikeButtonDown = 0x02,    // a checked (checkable) button stays drawn pressed
    cbLiteButton = 0x04,        // a flat frame of white and dark lines instead of the bevel
    cbViewLikePressDown = 0x08, // always drawn pressed
    cbViewLikePressUp = 0x10,   // never drawn pressed
};
Q_DECLARE_FLAGS(TOptions, TOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOptions)

enum TImagesLayout { imImageLeft, imImageTop, imImageBottom };

enum TCheckStyle { csCheckBox, csRadioButton };

enum TCheckboxLayout { clBottom, clCenter, clTop };

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
