#pragma once

#include "Visit.h"

#include <QColor>
#include <QStringList>
#include <QVariantList>

// How the counter shows the visit: the grids' columns and the colours of their rows.
namespace PujckyLook {

inline const QColor kRed{240, 0, 0};
inline const QColor kLightRed{240, 96, 96};
inline const QColor kOrange{240, 128, 0};
inline const QColor kGrey{128, 128, 128};
inline const QColor kGreen{0, 128, 0};
inline const QColor kBlue{0, 0, 240};

QStringList CartColumns();
QStringList CartTitles(); // empty for the columns the grid does not show
QVariantList CartRecord(const TCartRow& row);
QStringList ReservationColumns();
QStringList ReservationTitles();
QVariantList ReservationRecord(const TReservationRow& row);

QColor LoanColour(TLoanState state);
// Invalid for a row in the grid's normal colour.
QColor ReservationColour(TReservationState state);

} // namespace PujckyLook
