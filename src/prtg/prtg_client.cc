#include "prtg/prtg_client.h"

#include <optional>
#include <utility>

#include "monitor/monitoring_cycle.h"
#include "monitor/orb_state.h"
#include "prtg/channels_reader.h"
#include "prtg/details_reader.h"
#include "prtg/prtg_answer.h"
#include "prtg/prtg_profile.h"
#include "prtg/prtg_request.h"
#include "prtg/result_writer.h"
#include "store/clock_text.h"
#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

std::string Now() { return TimeText(WallClock::now()); }

// The channel row of each sensor that a multi-sensor orb shows; "xx" (or
// any other text that is no number) counts as 0.
std::optional<size_t> ChannelIndex(const ConfigRecord& record) {
  const int index = ParseInteger(record.kept_item()).value_or(0);
  if (index < 0) return std::nullopt;
  return static_cast<size_t>(index);
}

StagingRow StagingRowFor(const ItemRow& row, const std::string& identifier) {
  StagingRow staged;
  staged.label = row.label;
  staged.image_index = row.image_index;
  staged.item = identifier;
  staged.data = row.data;
  staged.unit = row.unit;
  staged.color = row.color;  // still the last-value text
  return staged;
}

ItemRow ItemRowFor(const StagingRow& staged) {
  ItemRow row;
  row.label = staged.label;
  row.image_index = staged.image_index;
  row.item = staged.item;
  row.data = staged.data;
  row.unit = staged.unit;
  row.color = staged.color;
  return row;
}

// One acquisition: the state that its steps share.
class Acquisition {
 public:
  Acquisition(const PrtgOrb& orb, const CompanionFiles& files,
              const DownloadSettings& download, OrbView& view, SourceLock& lock,
              EventLog& log)
      : orb_(orb),
        work_file_(files.WorkFile()),
        download_(download),
        view_(view),
        lock_(lock),
        log_(log) {}

  // The answer's lines when the download gave a whole XML document.
  std::optional<std::vector<std::string>> Fetch(const std::string& url) {
    RemoveFile(work_file_);
    const DownloadOutcome outcome = DownloadToFile(url, work_file_, download_);
    untrusted_ = outcome.untrusted;
    if (!outcome.ok) return std::nullopt;
    const std::optional<std::string> bytes = ReadFileBytes(work_file_);
    if (!bytes || !IsWholeAnswer(*bytes)) return std::nullopt;
    return SplitLines(*bytes);
  }

  // The message for the last failed Fetch: a refused certificate is told
  // as such, since checking the server will not help.
  std::string_view FailedMessage(std::string_view usual) const {
    return untrusted_ ? kServerNotTrusted : usual;
  }

  // The lock goes first: the message box waits for the user, the siblings
  // need not. An unattended wall gets no box: the status caption and one
  // "Fail" line for each run of failures tell of it.
  void Notify(std::string_view message) {
    lock_.Abandon();
    result_.lock_removed = true;
    view_.SetFrameColour(kFuchsia);
    result_.messages.emplace_back(message);
    if (!orb_.unattended) {
      view_.ShowMessageBox(std::string(message));
      return;
    }
    view_.SetStatusCaption(std::string(kFailCaption));
    LogFailure(orb_.unattended, orb_.failure_logged, log_,
               std::string(message));
  }

  void Progress(const std::string& line) { orb_.progress.Append(line); }

  // Every sensor of the address in turn. A sensor whose channels request
  // fails gives no row; the others still give theirs.
  std::vector<ItemRow> RequestSensors(const RequestUrl& request) {
    for (const std::string& id : request.ids) {
      const std::string head = "* " + Now() + " " + ShownUrl(request, id);
      Progress(head + " State=Processing");
      std::vector<ItemRow> channels = RequestSensor(request, id, head);
      if (!request.multi_sensor) return channels;
    }
    std::vector<ItemRow> rows;
    for (const StagingRow& staged : orb_.staging) {
      rows.push_back(ItemRowFor(staged));
    }
    return rows;
  }

  // Whatever happens, the cycle's work file holds this cycle's result text.
  PrtgAcquisition Finish(const std::vector<ItemRow>& rows) {
    if (!rows.empty()) {
      orb_.items.Clear();
      for (const ItemRow& row : rows) orb_.items.Append(row);
      orb_.number_format = number_format_;
      result_.fresh_rows = true;
    }
    const std::vector<ItemRow> written =
        result_.fresh_rows ? rows : std::vector<ItemRow>{};
    result_.result_written = WriteResult(work_file_, orb_.record.number(),
                                         written, orb_.number_format);
    return result_;
  }

 private:
  // The channels of one sensor; a multi-sensor orb stages the chosen one.
  std::vector<ItemRow> RequestSensor(const RequestUrl& request,
                                     const std::string& id,
                                     const std::string& head) {
    std::string identifier(kNoIdentifier);
    if (request.multi_sensor) identifier = RequestIdentifier(request, id, head);
    std::vector<ItemRow> channels;
    if (const auto answer = Fetch(ChannelsUrl(request, id))) {
      ChannelsAnswer read = ReadChannelsAnswer(*answer);
      number_format_ = read.number_format;
      channels = std::move(read.rows);
    } else {
      Progress(head + " State=Failed");
      Notify(FailedMessage(kGetChannelsFailed));
    }
    const std::optional<size_t> index = ChannelIndex(orb_.record);
    if (request.multi_sensor && index && *index < channels.size()) {
      orb_.staging.push_back(StagingRowFor(channels[*index], identifier));
    }
    return channels;
  }

  std::string RequestIdentifier(const RequestUrl& request,
                                const std::string& id,
                                const std::string& head) {
    std::string identifier(kNoIdentifier);
    const auto details = Fetch(DetailsUrl(request, id));
    if (!details) {
      Progress(head + " State=Failed");
      Notify(FailedMessage(kGetDetailsFailed));
    } else if (const auto element =
                   IdentifierElement(orb_.record.identifier_kind())) {
      identifier = ReadIdentifier(*details, *element, identifier);
    }
    return identifier;
  }

  const PrtgOrb& orb_;
  std::filesystem::path work_file_;  // the target of every download
  const DownloadSettings& download_;
  OrbView& view_;
  SourceLock& lock_;
  EventLog& log_;
  PrtgAcquisition result_;
  bool untrusted_ = false;  // the last Fetch was refused for its certificate
  char number_format_ = orb_.number_format;
};

}  // namespace

PrtgOrb PrtgOrbOf(OrbState& state) {
  return {state.record(),     state.mode_word,
          state.unattended(), state.failure_logged,
          state.items,        state.staging,
          state.lists.wrky,   state.values.number_format};
}

PrtgAcquisition PrtgClient::Acquire(const PrtgOrb& orb,
                                    const CompanionFiles& files, OrbView& view,
                                    SourceLock& lock, EventLog& log) {
  // The profile's trust lines hold for this acquisition; the run downloads
  // with these settings.
  DownloadSettings download = download_;
  Acquisition run(orb, files, download, view, lock, log);
  orb.progress.Clear();
  orb.staging.clear();
  const std::filesystem::path profile = files.AttachedProfile();
  const auto profile_lines = ReadLines(profile);
  const std::string profile_name = profile.filename().string();
  if (!profile_lines) {
    run.Progress("* " + Now() + " Profile " + profile_name +
                 " not readable State=Failed");
    run.Notify("Read " + profile_name + " failed, please Check !");
    return run.Finish({});
  }
  // Profile: the trust lines reach the downloads; the other connection
  // settings are read only to report wrong lines.
  const ConnectionSettings connection = ReadConnectionSettings(*profile_lines);
  for (const std::string& problem : connection.problems) {
    run.Progress("* " + Now() + " " + problem + " State=Failed");
    if (logged_problems_.insert(problem).second) log.Log("Fail", problem);
  }
  download = WithTrust(download_, connection, files.working_dir());
  // The request is built from the profile and record as they are now.
  view.SetStatusCaption("<URL>");
  const RequestUrl request = BuildRequestUrl(orb.record, *profile_lines);
  run.Progress("* " + Now() + " Starting " + version_text_ + " State=Done");
  if (request.ids.empty()) {
    run.Progress("* " + Now() + " Sensor address without id= State=Failed");
  }
  std::vector<ItemRow> rows = run.RequestSensors(request);
  ApplyChannelColours(rows);
  run.Progress("* " + Now() + " Ending of " + std::string(orb.mode_word) +
               "... State=Done");
  return run.Finish(rows);
}

}  // namespace vigil
