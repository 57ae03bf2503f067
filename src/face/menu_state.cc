#include "face/menu_state.h"

#include <algorithm>

#include "store/orb_mode.h"
#include "store/text.h"

namespace vigil {

MenuState::MenuState()
    : entries_({
          {"Pop00", "Prtg Browser", 45, false},
          {"N2", "-"},
          {"Pop02", "Chart / Listing", 25},
          {"Pop021", "Show Chart", 25, false},
          {"Pop022", "Show Gauge", 12},
          {"Pop023", "Show Image", 53},
          {"N7", "-"},
          {"Pop024", "Reset Scale", 66},
          {"N4", "-"},
          {"Pop03", std::string(kShowTitleCaption), 10},
          {"Pop04", std::string(kShowLegendCaption), 69},
          {"N1", "-"},
          {"Pop05", "Rset Warning", 60, false},
          {"Pop06", "Reset Alert(s)", 61, false},
          {"N3", "-"},
          {"Pop070", "View Logging", 29},
          {"Pop07", "Alter Settings", 43, true, false},
          {"N6", "-"},
          {"Pop08", std::string(kSuspendCaption), 55},
          {"Pop081", "Hide the Orb", 77},
          {"N5", "-"},
          {"Pop09", "Stop RfcOrb", 88},
      }) {}

namespace {

// The entry of that name; the last one for a name the menu does not have.
template <typename Entries>
auto& Find(Entries& entries, std::string_view name) {
  auto entry = std::find_if(entries.begin(), entries.end(),
                            [&](const MenuEntry& e) { return e.name == name; });
  return entry != entries.end() ? *entry : entries.back();
}

}  // namespace

MenuEntry& MenuState::At(std::string_view name) { return Find(entries_, name); }

const MenuEntry& MenuState::Entry(std::string_view name) const {
  return Find(entries_, name);
}

std::string MenuState::Caption(std::string_view name) const {
  return CleanCaption(Entry(name).caption);
}

void MenuState::SetVisible(std::string_view name, bool visible) {
  At(name).visible = visible;
}

void MenuState::SetEnabled(std::string_view name, bool enabled) {
  At(name).enabled = enabled;
}

void MenuState::Popup(const PopupInputs& in) {
  popup_open_mark_ = true;
  if (OrbModeOf(in.mode_word).prtg_menu) {
    SetVisible("Pop00", true);
    SetVisible("Pop070", true);
  }
  At("Pop09").caption = "Stop " + in.mode_word;
  SetVisible("Pop024", in.gauge_visible || in.image_visible);
  SetVisible("Pop03", true);
  SetVisible("Pop04", true);
  SetVisible("Pop05", in.orb_colour == kYellow);
  SetVisible("Pop06", in.orb_colour == kRed);
  SetVisible("Pop081", !Entry("Pop05").visible && !Entry("Pop06").visible &&
                           !suspended());
  At("Pop04").caption =
      in.legend_visible ? "Hide Legend" : std::string(kShowLegendCaption);
  At("Pop03").caption =
      in.title_visible ? "Hide the Title" : std::string(kShowTitleCaption);
  MenuEntry& face = At("Pop02");
  face.caption = in.chart_visible || in.image_visible
                     ? std::string(kShowListingCaption)
                     : "Show Chart";
  face.image = in.chart_visible ? 37 : 25;
  const bool title_and_legend =
      !in.zoomed &&
      (in.chart_visible || in.image_visible || !in.listing_visible);
  SetVisible("Pop03", title_and_legend);
  SetVisible("Pop04", title_and_legend);
}

void MenuState::DisableAfterNoData() {
  for (const char* name : {"Pop02", "Pop03", "Pop04"}) SetEnabled(name, false);
}

void MenuState::EnableAfterData(bool legend_allowed) {
  for (const char* name : {"Pop02", "Pop03", "Pop04"}) SetEnabled(name, true);
  SetEnabled("Pop07", settings_available_);
  if (!legend_allowed) SetEnabled("Pop04", false);
}

void MenuState::ShowViewLogging(bool shown) { SetVisible("Pop070", shown); }

void MenuState::SetSuspended(bool suspended) {
  MenuEntry& entry = At("Pop08");
  entry.caption = std::string(suspended ? kResumeCaption : kSuspendCaption);
  entry.image = suspended ? 36 : 55;
}

bool MenuState::suspended() const { return Caption("Pop08") == kResumeCaption; }

void MenuState::SetSettingsAvailable(bool available) {
  settings_available_ = available;
  SetEnabled("Pop07", available);
}

}  // namespace vigil
