#pragma once

#include <QStringList>

class TDMGlobDB;
class TTransaction;

// Each stored close against its day's rows summed here: deposits taken and returned, loans
// started and ended, the takings of the receipts not cancelled, the cash put in and taken out,
// and the till carried from the day before.
QStringList StoredCloseOffenders(TDMGlobDB& db, TTransaction& transaction);
