// The acquisition step of an HttpOrb cycle: reads the attached profile
// (`Profile`), fetches the channels of the orb's sensors from the PRTG
// server into the item table (`GUrl`) and writes the table as a result text
// into the work file (`cXml`).
//
// How the cycle calls it, between taking and releasing the lock:
//
//   SourceLock lock(...);                   // taken: busy flag 1, "<RFC>"
//   RemoveFile(work_file);                  // unless the restart flag is on
//   PrtgAcquisition got = prtg_client.Acquire(orb, files, view, lock, log);
//   lock.Release();                         // a no-op when Acquire removed it
//   ... load the work file, check it as for every mode, append Wrky ...
//   if (!got.fresh_rows) -> the no-data path with "No Data from PRTG
//                           found..." and a "Fail" line (in place of the
//                           "empty item table" test), waiting for Resume
//                           (retrying every delay time when unattended).
//
// When no row came, the item table keeps the rows of the last good cycle
// and the work file holds a result text without rows, so that the mail
// action never sends old values as new ones.
#ifndef VIGIL_PRTG_PRTG_CLIENT_H_
#define VIGIL_PRTG_PRTG_CLIENT_H_

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/string_list.h"
#include "prtg/downloader.h"
#include "store/companion_files.h"
#include "store/config_record.h"
#include "store/event_log.h"
#include "store/orb_view.h"
#include "store/source_lock.h"

namespace vigil {

inline constexpr std::string_view kGetChannelsFailed =
    "Get Channels failed - Please Check !";
inline constexpr std::string_view kGetDetailsFailed =
    "Get Details failed - Please Check !";
// In place of either when the server's certificate or key was refused.
inline constexpr std::string_view kServerNotTrusted =
    "Server Certificate not trusted - Please Check !";

// What one acquisition reads of the orb and the tables it fills; the
// session lends them from the orb's state.
struct PrtgOrb {
  const ConfigRecord& record;
  std::string_view mode_word;
  bool unattended = false;  // the header's column 21
  // Unattended: this run of failures has had its one "Fail" line.
  bool& failure_logged;
  ItemTable& items;
  StagingTable& staging;  // View09: a multi-sensor orb's sensors
  StringList& progress;   // Wrky: "* hh:mm:ss ... State=..." lines
  char& number_format;    // of the rows in the item table
};

struct OrbState;
// The session's lending: the orb's state's own fields.
PrtgOrb PrtgOrbOf(OrbState& state);

struct PrtgAcquisition {
  // The channels requests gave at least one row (a failing sensor of a
  // multi-sensor orb gives none): the item table holds the fresh rows and
  // the number-format flag is that of the answers. When false, both are as
  // they were.
  bool fresh_rows = false;
  // The work file holds the result text (the fresh rows, or none). False
  // when it could not be written; then there is no work file and the cycle
  // takes its "work file missing" path (red frame).
  bool result_written = false;
  // A failure removed the lock file before its message box (so that sibling
  // orbs need not wait for the user); the lock is no longer held.
  bool lock_removed = false;
  // The failure messages, in order: message boxes, or in the unattended
  // mode the status caption and the log.
  std::vector<std::string> messages;
};

class PrtgClient final {
 public:
  // version_text: the version label, for the progress lines.
  explicit PrtgClient(std::string version_text, DownloadSettings download = {})
      : version_text_(std::move(version_text)), download_(download) {}

  // Runs on the GUI thread and blocks it during each download (at most the
  // total time-out per request). Shows the status caption "<URL>" once the
  // profile is read.
  //
  // Works from the orb's record and its attached profile, downloads into
  // its work file. Fills the item table, the progress list (Wrky) with
  // lines "* hh:mm:ss ... State=...", which never hold the user name or the
  // password, and the staging table (View09) with one row per sensor of a
  // multi-sensor orb.
  //
  // A request that fails (no connection, a time-out, a status other than
  // 2xx, an answer that breaks off or is no XML document) adds a "Failed"
  // progress line, removes the lock file, turns the frame fuchsia and shows
  // "Get Channels failed - Please Check !" or "Get Details failed - Please
  // Check !" through view.ShowMessageBox; "Server Certificate not trusted -
  // Please Check !" in their place when the certificate did not verify
  // against the profile's CA file (or the system's authorities) or its key
  // did not match the profile's pin. With the header's unattended mode, the
  // status caption "<Fail>" and, once per run of failures, a "Fail" line in
  // the log instead of the box. An attached profile that cannot be read is
  // told the same way ("Read <name> failed, please Check !").
  // A port line of the profile that holds no port number adds a "Failed"
  // progress line each time and a "Fail" line to the log once per text.
  PrtgAcquisition Acquire(const PrtgOrb& orb, const CompanionFiles& files,
                          OrbView& view, SourceLock& lock, EventLog& log);

 private:
  std::string version_text_;
  DownloadSettings download_;
  // Profile problems already logged, so that each cycle does not log again.
  std::set<std::string> logged_problems_;
};

}  // namespace vigil

#endif  // VIGIL_PRTG_PRTG_CLIENT_H_
