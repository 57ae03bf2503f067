#include "prtg/prtg_browser.h"

#include "prtg/prtg_request.h"
#include "store/text_file.h"

namespace vigil {

bool OpenPrtgBrowser(const ConfigRecord& record,
                     const std::filesystem::path& attached_profile,
                     OrbView& view, const UrlOpener& open_url) {
  const auto lines = ReadLines(attached_profile);
  if (!lines) {
    view.ShowMessageBox("Read " + attached_profile.filename().string() +
                        " failed, please Check !");
    return false;
  }
  if (!open_url || !open_url(BrowserUrl(record, *lines))) {
    view.ShowMessageBox("Prtg Browser failed - Please Check !");
    return false;
  }
  return true;
}

}  // namespace vigil
