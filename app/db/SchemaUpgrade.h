#pragma once

class TDMGlobDB;

// Brings the database of a shop that started with an older program up to the tables and
// columns this program uses; what is there already is left alone. Each step is committed on its
// own, and a step another counter finished at the same moment counts as done.
void UpgradeSchema(TDMGlobDB& db);
