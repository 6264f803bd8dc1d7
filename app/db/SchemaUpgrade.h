#pragma once

class TDMGlobDB;

// Brings the database of a shop that started with an older program up to the tables this program
// uses; what is there already is left alone. Each step is committed on its own, and a step another
// counter finished at the same moment counts as done. New things come as tables of their own: the
// program's user may create tables, but only their owner may alter the shipped ones.
void UpgradeSchema(TDMGlobDB& db);
