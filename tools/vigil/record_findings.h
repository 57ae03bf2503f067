// What `vigil check` finds in the columns of one configuration record,
// each field against the characters or numbers the orb can read there.
#ifndef VIGIL_TOOLS_VIGIL_RECORD_FINDINGS_H_
#define VIGIL_TOOLS_VIGIL_RECORD_FINDINGS_H_

#include <string_view>
#include <vector>

#include "settings/altered_settings.h"
#include "store/config_record.h"
#include "vigil/finding.h"

namespace vigil::cli {

inline constexpr size_t kTitleLength = 99;  // the orb shows no more

// Fields that lie wholly within the record; a record that ends before
// its tail is one finding at its end. The key is checked with the line.
void CheckRecordColumns(const ConfigRecord& record, int line,
                        std::string_view mode_word,
                        std::vector<Finding>& findings);

// "columns 29-33", "column 17".
std::string ColumnsText(ColumnSpan span);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_RECORD_FINDINGS_H_
