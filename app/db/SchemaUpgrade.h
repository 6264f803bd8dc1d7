#pragma once

class TDMGlobDB;

// Brings the database of a shop that started with an older program up to the tables this program
// uses; what is there already is left alone. Each step is committed on its own, and a step another
// counter finished at the same moment counts as done. The steps run as the configuration's
// database administrator: the program's own user may not change the schema.
void UpgradeSchema(TDMGlobDB& db);
