// The "Prtg Browser" command: opens the first sensor's page of the PRTG
// web interface in the desktop's browser.
#ifndef VIGIL_PRTG_PRTG_BROWSER_H_
#define VIGIL_PRTG_PRTG_BROWSER_H_

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "store/config_record.h"
#include "store/orb_view.h"

namespace vigil {

// Launches the desktop's browser on a URL; false when it could not. The
// window implements it (QDesktopServices::openUrl), tests record the URL.
using UrlOpener = std::function<bool(const std::string& url)>;

// Reads the attached profile and opens the page with the profile's host,
// scheme and credentials. A profile that cannot be read or a browser that
// does not start is told in a message box; false then.
bool OpenPrtgBrowser(const ConfigRecord& record,
                     const std::filesystem::path& attached_profile,
                     OrbView& view, const UrlOpener& open_url);

}  // namespace vigil

#endif  // VIGIL_PRTG_PRTG_BROWSER_H_
