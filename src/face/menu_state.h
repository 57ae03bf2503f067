// The context menu as data: its entries in display order with their
// captions, small images, visibility and enabling. PopupPopup adapts it to
// the orb's state just before the menu opens; the cycle and the chart
// builder enable and disable entries between openings. The menu widget
// only shows what this holds.
#ifndef VIGIL_FACE_MENU_STATE_H_
#define VIGIL_FACE_MENU_STATE_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/colour.h"

namespace vigil {

struct MenuEntry {
  std::string name;     // "Pop02"; separators "N1" to "N7"
  std::string caption;  // "-" for a separator
  int image = -1;       // index into the orb's image list; -1 none
  bool visible = true;
  bool enabled = true;
  bool separator() const { return caption == "-"; }
};

// What PopupPopup reads of the orb as it is on the screen.
struct PopupInputs {
  std::string mode_word;
  bool chart_visible = false;  // the current chart
  bool listing_visible = false;
  bool gauge_visible = false;
  bool image_visible = false;
  bool legend_visible = false;  // of the current chart
  bool title_visible = false;   // of the current chart
  Rgb orb_colour = kNeutral;    // the colour of the current chart
  bool zoomed = false;
};

inline constexpr std::string_view kSuspendCaption = "Suspend Orb";
inline constexpr std::string_view kResumeCaption = "Resume Orb";
inline constexpr std::string_view kShowListingCaption = "Show Listing";
inline constexpr std::string_view kShowTitleCaption = "Show the Title";
inline constexpr std::string_view kShowLegendCaption = "Show Legend";

class MenuState final {
 public:
  MenuState();

  // PopupPopup: marks the menu as opened and sets captions, images and
  // visibility from the orb's state.
  void Popup(const PopupInputs& inputs);

  // After a cycle without data: Pop02, Pop03 and Pop04 disabled.
  void DisableAfterNoData();
  // After a cycle with data: Pop02, Pop03, Pop04 and Pop07 enabled, and
  // Pop04 disabled again for a chart kind that has no legend.
  void EnableAfterData(bool legend_allowed);
  // "View Logging" is offered when the last result had processing lines.
  void ShowViewLogging(bool shown);
  // Pop08 between "Suspend Orb" (image 55) and "Resume Orb" (image 36).
  void SetSuspended(bool suspended);
  bool suspended() const;
  // "Alter Settings" is enabled only once the settings dialog exists.
  void SetSettingsAvailable(bool available);
  // The face commands show and hide the face entries.
  void SetVisible(std::string_view name, bool visible);

  const std::vector<MenuEntry>& entries() const { return entries_; }
  // The entry of that name; Pop09 for an unknown name never happens, the
  // names are the menu's own.
  const MenuEntry& Entry(std::string_view name) const;
  // The caption after the caption cleaner (an accelerator "&" removed).
  std::string Caption(std::string_view name) const;

  // The menu's tag: set when it opens, so that the mouse release that
  // follows a right click is not taken as the end of a drag.
  bool popup_open_mark() const { return popup_open_mark_; }
  void clear_popup_open_mark() { popup_open_mark_ = false; }

 private:
  MenuEntry& At(std::string_view name);
  void SetEnabled(std::string_view name, bool enabled);

  std::vector<MenuEntry> entries_;
  bool popup_open_mark_ = false;
  bool settings_available_ = false;
};

}  // namespace vigil

#endif  // VIGIL_FACE_MENU_STATE_H_
