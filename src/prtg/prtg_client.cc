#include "prtg/prtg_client.h"

#include <optional>

#include "prtg/channels_reader.h"
#include "prtg/details_reader.h"
#include "prtg/prtg_answer.h"
#include "prtg/prtg_profile.h"
#include "prtg/prtg_request.h"
#include "prtg/result_writer.h"
#include "store/clock_text.h"
#include "store/config_record.h"
#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

std::string Now() { return TimeText(WallClock::now()); }

// The channel row of each sensor that a multi-sensor orb shows; "xx" (or
// any other text that is no number) counts as 0.
std::optional<size_t> ChannelIndex(std::string_view record) {
  const int index = ParseInteger(Mid(record, 41, 2)).value_or(0);
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
  Acquisition(const PrtgContext& context, const DownloadSettings& download,
              OrbView& view, SourceLock& lock, StringList& progress)
      : context_(context),
        download_(download),
        view_(view),
        lock_(lock),
        progress_(progress) {}

  // The answer's lines when the download gave a whole XML document.
  std::optional<std::vector<std::string>> Fetch(const std::string& url) {
    RemoveFile(context_.work_file);
    const DownloadOutcome outcome =
        DownloadToFile(url, context_.work_file, download_);
    if (!outcome.ok) return std::nullopt;
    const std::optional<std::string> bytes = ReadFileBytes(context_.work_file);
    if (!bytes || !IsWholeAnswer(*bytes)) return std::nullopt;
    return SplitLines(*bytes);
  }

  // The lock goes first: the message box waits for the user, the siblings
  // need not.
  void Notify(std::string_view message) {
    lock_.Abandon();
    result_.lock_removed = true;
    view_.SetFrameColour(kFuchsia);
    result_.messages.emplace_back(message);
    view_.ShowMessageBox(std::string(message));
  }

  void Progress(const std::string& line) { progress_.Append(line); }
  PrtgAcquisition& result() { return result_; }

 private:
  const PrtgContext& context_;
  const DownloadSettings& download_;
  OrbView& view_;
  SourceLock& lock_;
  StringList& progress_;
  PrtgAcquisition result_;
};

}  // namespace

PrtgAcquisition PrtgClient::Acquire(const PrtgContext& context, OrbView& view,
                                    SourceLock& lock, ItemTable& items,
                                    StagingTable& staging, StringList& progress,
                                    OrbValues& values, EventLog& log) {
  Acquisition run(context, download_, view, lock, progress);
  PrtgAcquisition& result = run.result();
  const std::string orb_number = RecordNumber(context.record);
  // Whatever happens, the cycle's work file holds this cycle's result text.
  const auto finish = [&](const std::vector<ItemRow>& rows) {
    result.result_written =
        WriteResult(context.work_file, orb_number, rows, values.number_format);
    return result;
  };

  progress.Clear();
  staging.clear();
  const auto profile_lines = ReadLines(context.attached_profile);
  const std::string profile_name = context.attached_profile.filename().string();
  if (!profile_lines) {
    run.Progress("* " + Now() + " Profile " + profile_name +
                 " not readable State=Failed");
    run.Notify("Read " + profile_name + " failed, please Check !");
    return finish({});
  }

  // Profile: the connection settings are read only to report wrong lines.
  for (const std::string& problem :
       ReadConnectionSettings(*profile_lines).problems) {
    run.Progress("* " + Now() + " " + problem + " State=Failed");
    if (logged_problems_.insert(problem).second) log.Log("Fail", problem);
  }

  // GUrl.
  view.SetStatusCaption("<URL>");
  const RequestUrl request = BuildRequestUrl(context.record, *profile_lines);
  run.Progress("* " + Now() + " Starting " + context.version_text +
               " State=Done");
  if (request.ids.empty()) {
    run.Progress("* " + Now() + " Sensor address without id= State=Failed");
  }
  const std::optional<std::string_view> identifier_element =
      IdentifierElement(RecordFlag(context.record, 49));
  const std::optional<size_t> channel_index = ChannelIndex(context.record);

  std::vector<ItemRow> rows;
  char number_format = values.number_format;
  bool channels_failed = false;
  for (const std::string& id : request.ids) {
    const std::string head = "* " + Now() + " " + ShownUrl(request, id);
    if (channels_failed) {
      // The acquisition has failed already; no need to wait for more.
      run.Progress(head + " State=Skipped");
      continue;
    }
    run.Progress(head + " State=Processing");
    std::string identifier(kNoIdentifier);
    if (request.multi_sensor) {
      const auto details = run.Fetch(DetailsUrl(request, id));
      if (!details) {
        run.Progress(head + " State=Failed");
        run.Notify(kGetDetailsFailed);
      } else if (identifier_element) {
        identifier = ReadIdentifier(*details, *identifier_element, identifier);
      }
    }
    std::vector<ItemRow> channels;
    if (const auto answer = run.Fetch(ChannelsUrl(request, id))) {
      ChannelsAnswer read = ReadChannelsAnswer(*answer);
      number_format = read.number_format;
      channels = std::move(read.rows);
    } else {
      run.Progress(head + " State=Failed");
      run.Notify(kGetChannelsFailed);
      channels_failed = true;
    }
    if (!request.multi_sensor) {
      rows = std::move(channels);
      break;
    }
    if (channel_index && *channel_index < channels.size()) {
      staging.push_back(StagingRowFor(channels[*channel_index], identifier));
    }
  }
  if (request.multi_sensor) {
    for (const StagingRow& staged : staging) rows.push_back(ItemRowFor(staged));
  }
  ApplyChannelColours(rows);
  run.Progress("* " + Now() + " Ending of " + context.mode_word +
               "... State=Done");

  if (channels_failed || rows.empty()) return finish({});
  items.Clear();
  for (const ItemRow& row : rows) items.Append(row);
  values.number_format = number_format;
  result.fresh_rows = true;
  return finish(rows);
}

}  // namespace vigil
