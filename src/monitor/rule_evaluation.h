// The rule evaluation of a good cycle: compares the item table with the
// orb's rules, gives the orb its colour, logs state changes, hands items
// to the value actions and keeps the kept item's value.
//
// The cycle calls EvaluateRules once per good cycle, after the table was
// read, sorted and charted, with OrbValues::colour_at_cycle_start already
// set to the table's colour at the start of the cycle. The call:
//   - sets OrbValues::orb_colour (the state code, show-on-alert and the
//     marker files follow it) and the state memory, logging "Warn", "Alrt"
//     and "Rset";
//   - gives the item table its colour after the hold flag;
//   - invokes ActionDispatch::Trace for every fired "<Mail>", "<Exec>" and
//     "<Trace>" rule whose switch is on, while it runs;
//   - updates the kept value, increase and date (keep-data flag).
// The window then applies the outcome in this order: show legend and title
// when asked; zoom (put the orb on top of all windows at the same place and
// size, zoom it, let pending events run, mark the top-most release for the
// next Timer2 tick and restart Timer2) or unzoom; finally give the
// display colour to the current chart.
#ifndef VIGIL_MONITOR_RULE_EVALUATION_H_
#define VIGIL_MONITOR_RULE_EVALUATION_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/action_dispatch.h"
#include "monitor/item_table.h"
#include "store/colour.h"
#include "store/event_log.h"
#include "store/orb_values.h"
#include "store/orbs_file.h"

namespace vigil {

struct RuleInputs {
  bool zoomed = false;  // Zoomed before the evaluation
  std::string today;    // "DD.MM.YY", for the keep-data day
  // A standard sensor's own limits and warning flag count as rules "Set
  // Alert" and "Warning" on their channel; the header can turn them off.
  bool sensor_limits = true;
};

struct RuleOutcome {
  // Computed from the rules and the previous cycle only; the hold does not
  // change it. Also stored in OrbValues::orb_colour.
  Rgb orb_colour = kNeutral;
  // The colour given to the item table, and to be given to the chart: the
  // orb colour, or the held colour while the hold flag keeps a state.
  Rgb display_colour = kNeutral;
  bool show_legend_and_title = false;  // the orb is zoomed
  bool zoom = false;                   // turned red with the zoom flag on
  bool unzoom = false;
  // The hand-over of the last fired value action, also when its switch was
  // off; the orb keeps it as its action context for later state actions.
  std::optional<ActionContext> action_context;
};

// A row whose Data the value parser cannot read is not compared: the rules
// that would compare its value skip it, while "<No of Items>" and
// "<Response>" rules, which do not read it, still apply to it. Such a row
// as the kept item leaves the kept value, increase and date unchanged.
// The rules, the value-action switches and the record's hold, kept item,
// zoom and keep-data settings come from the configuration.
RuleOutcome EvaluateRules(const OrbConfiguration& config,
                          const RuleInputs& inputs, ItemTable& items,
                          OrbValues& values, EventLog& log,
                          ActionDispatch& dispatch);

}  // namespace vigil

#endif  // VIGIL_MONITOR_RULE_EVALUATION_H_
