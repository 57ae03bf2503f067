#include "face/small_images.h"

#include <gtest/gtest.h>

#include "monitor/item_table.h"
#include "store/colour_lookup.h"

namespace vigil {
namespace {

// A row's dot must look like the bar the chart draws for the same row.
TEST(SmallImagesTest, StateImagesHaveTheirRowColour) {
  for (const StateImages& images : kStateImages) {
    for (int index : {images.unit_state, images.star_prefix, images.prefix}) {
      Rgb chart_colour = kBlack;
      LookUpColour("", index, chart_colour);
      EXPECT_EQ(SmallImageAt(index).colour, chart_colour) << index;
    }
  }
}

TEST(SmallImagesTest, StateImagesAreDotsOfTheirKind) {
  for (const StateImages& images : kStateImages) {
    EXPECT_EQ(SmallImageAt(images.prefix).shape, SmallShape::kDot);
    EXPECT_EQ(SmallImageAt(images.star_prefix).shape, SmallShape::kStarDot);
    EXPECT_EQ(SmallImageAt(images.unit_state).shape, SmallShape::kRingDot);
  }
  EXPECT_EQ(SmallImageAt(kImageUnreadable).shape, SmallShape::kCross);
  EXPECT_EQ(SmallImageAt(kImagePrtgChannel).shape, SmallShape::kChannel);
}

TEST(SmallImagesTest, IndexesOutsideTheListGiveANeutralImage) {
  for (int index : {-1, kSmallImageCount, 1000}) {
    EXPECT_EQ(SmallImageAt(index).shape, SmallShape::kSquare) << index;
    EXPECT_EQ(SmallImageAt(index).colour, kGray) << index;
  }
}

}  // namespace
}  // namespace vigil
