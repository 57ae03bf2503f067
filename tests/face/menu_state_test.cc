#include "face/menu_state.h"

#include <gtest/gtest.h>

#include <map>

namespace vigil {
namespace {

std::string VisibleEntries(const MenuState& menu) {
  std::string names;
  for (const MenuEntry& entry : menu.entries()) {
    if (entry.visible && !entry.separator()) names += entry.name + " ";
  }
  return names;
}

PopupInputs ChartShown(const char* mode = "AuxOrb") {
  PopupInputs inputs;
  inputs.mode_word = mode;
  inputs.chart_visible = true;
  inputs.title_visible = true;
  return inputs;
}

TEST(MenuStateTest, PopupAdaptsTheEntriesToTheOrb) {
  struct Case {
    const char* name;
    PopupInputs inputs;
    bool suspended;
    std::string visible;
    std::map<std::string, std::string> captions;
  };
  PopupInputs yellow = ChartShown();
  yellow.orb_colour = kYellow;
  PopupInputs red = ChartShown();
  red.orb_colour = kRed;
  PopupInputs zoomed = ChartShown();
  zoomed.zoomed = true;
  zoomed.legend_visible = true;
  PopupInputs listing;
  listing.mode_word = "AuxOrb";
  listing.listing_visible = true;
  PopupInputs gauge = listing;
  gauge.listing_visible = false;
  gauge.gauge_visible = true;
  PopupInputs image = gauge;
  image.gauge_visible = false;
  image.image_visible = true;
  PopupInputs red_suspended = red;
  const std::string end = "Pop070 Pop07 Pop08 ";
  const Case cases[] = {
      {"green chart",
       ChartShown(),
       false,
       "Pop02 Pop022 Pop023 Pop03 Pop04 " + end + "Pop081 Pop09 ",
       {{"Pop02", "Show Listing"},
        {"Pop03", "Hide the Title"},
        {"Pop04", "Show Legend"},
        {"Pop09", "Stop AuxOrb"}}},
      {"yellow",
       yellow,
       false,
       "Pop02 Pop022 Pop023 Pop03 Pop04 Pop05 " + end + "Pop09 ",
       {{"Pop05", "Rset Warning"}}},
      {"red",
       red,
       false,
       "Pop02 Pop022 Pop023 Pop03 Pop04 Pop06 " + end + "Pop09 ",
       {{"Pop06", "Reset Alert(s)"}}},
      {"suspended",
       ChartShown(),
       true,
       "Pop02 Pop022 Pop023 Pop03 Pop04 " + end + "Pop09 ",
       {{"Pop08", "Resume Orb"}}},
      {"suspended red",
       red_suspended,
       true,
       "Pop02 Pop022 Pop023 Pop03 Pop04 Pop06 " + end + "Pop09 ",
       {}},
      {"zoomed",
       zoomed,
       false,
       "Pop02 Pop022 Pop023 " + end + "Pop081 Pop09 ",
       {{"Pop04", "Hide Legend"}}},
      {"listing",
       listing,
       false,
       "Pop02 Pop022 Pop023 " + end + "Pop081 Pop09 ",
       {{"Pop02", "Show Chart"}}},
      {"gauge",
       gauge,
       false,
       "Pop02 Pop022 Pop023 Pop024 Pop03 Pop04 " + end + "Pop081 Pop09 ",
       {{"Pop02", "Show Chart"}}},
      {"image",
       image,
       false,
       "Pop02 Pop022 Pop023 Pop024 Pop03 Pop04 " + end + "Pop081 Pop09 ",
       {{"Pop02", "Show Listing"}}},
      {"HttpOrb",
       ChartShown("HttpOrb"),
       false,
       "Pop00 Pop02 Pop022 Pop023 Pop03 Pop04 " + end + "Pop081 Pop09 ",
       {{"Pop09", "Stop HttpOrb"}, {"Pop00", "Prtg Browser"}}},
  };
  for (const Case& c : cases) {
    MenuState menu;
    menu.SetSuspended(c.suspended);
    menu.Popup(c.inputs);
    EXPECT_TRUE(menu.popup_open_mark()) << c.name;
    EXPECT_EQ(VisibleEntries(menu), c.visible) << c.name;
    for (const auto& [name, caption] : c.captions) {
      EXPECT_EQ(menu.Caption(name), caption) << c.name << " " << name;
    }
  }
}

TEST(MenuStateTest, ImagesFollowTheFaceAndTheSuspension) {
  MenuState menu;
  menu.Popup(ChartShown());
  EXPECT_EQ(menu.Entry("Pop02").image, 37);
  PopupInputs listing;
  listing.listing_visible = true;
  menu.Popup(listing);
  EXPECT_EQ(menu.Entry("Pop02").image, 25);
  EXPECT_EQ(menu.Entry("Pop08").image, 55);
  menu.SetSuspended(true);
  EXPECT_EQ(menu.Entry("Pop08").image, 36);
}

TEST(MenuStateTest, CyclesAndTheChartKindEnableEntries) {
  MenuState menu;
  menu.DisableAfterNoData();
  for (const char* name : {"Pop02", "Pop03", "Pop04"}) {
    EXPECT_FALSE(menu.Entry(name).enabled) << name;
  }
  menu.EnableAfterData(/*legend_allowed=*/false);
  EXPECT_TRUE(menu.Entry("Pop02").enabled);
  EXPECT_TRUE(menu.Entry("Pop03").enabled);
  EXPECT_FALSE(menu.Entry("Pop04").enabled);
  // No settings dialog yet: "Alter Settings" stays disabled.
  EXPECT_FALSE(menu.Entry("Pop07").enabled);
  menu.SetSettingsAvailable(true);
  menu.EnableAfterData(true);
  EXPECT_TRUE(menu.Entry("Pop04").enabled);
  EXPECT_TRUE(menu.Entry("Pop07").enabled);
}

}  // namespace
}  // namespace vigil
