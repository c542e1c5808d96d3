// The PC program back-translation: the domains of one PC program (REDE, each task's TADE and
// PODE, NOBA, REBA, each task's POBA, the three BOBA) read in a fixed order and handed to the
// client's database, with the database calls that prepare, sort, connect and complete its data.
#ifndef MORVIT_BACKTRANSLATE_PCBACKTRANSLATION_H
#define MORVIT_BACKTRANSLATE_PCBACKTRANSLATION_H

class VDatabase;

namespace morvit {

// Runs the back-translation into `database`: 1 when it completed, 0 when it stopped (no
// program number, a failure of the resource or of a task that the run cannot pass over, a
// cancel, or a database answer that stops it). Only file exceptions are handled; others pass.
int RunPCBacktranslation(VDatabase& database);

}  // namespace morvit

#endif  // MORVIT_BACKTRANSLATE_PCBACKTRANSLATION_H
