#include "face/face_layout.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

RelayoutInput CompactOrb(int frame_width, int chart_top) {
  RelayoutInput input;
  input.layout = {169, 89, frame_width, chart_top};
  input.cell_width = 169;
  input.cell_height = 89;
  input.record_grid_size = " 1  1";
  return input;
}

TEST(FaceLayoutTest, FramelessCompactOrb) {
  // The first relayout finds the chart at its designed top 3.
  RelayoutGeometry first = RelayoutFace(CompactOrb(0, 3));
  const FaceGeometry& panels = first.panels;
  EXPECT_EQ(panels.gauge, (Rect{1, 1, 167, 87}));
  EXPECT_EQ(panels.dial, (Rect{0, 0, 167, 87}));
  EXPECT_EQ(first.pointer, (Rect{41, 19, 83, 45}));
  EXPECT_EQ(panels.charts, (Rect{1, 1, 167, 87}));
  EXPECT_EQ(panels.chart, (Rect{0, 0, 166, 87}));
  EXPECT_EQ(panels.listing, (Rect{1, 35, 166, 55}));
  EXPECT_EQ(panels.image_panel, (Rect{1, 1, 167, 87}));
  EXPECT_EQ(panels.image, (Rect{0, 0, 166, 52}));
  EXPECT_EQ(panels.start_picture.width, 160);
  EXPECT_EQ(panels.start_picture.height, 23);
  EXPECT_EQ(panels.error_panel, (Rect{5, 5, 159, 79}));
  // From the second relayout on the chart is at 0.
  const RelayoutGeometry second = RelayoutFace(CompactOrb(0, panels.chart.top));
  EXPECT_EQ(second.panels.listing, (Rect{1, 32, 166, 55}));
}

TEST(FaceLayoutTest, FramedCompactOrb) {
  const RelayoutGeometry geometry = RelayoutFace(CompactOrb(4, 1));
  const FaceGeometry& panels = geometry.panels;
  EXPECT_EQ(panels.gauge, (Rect{5, 5, 159, 79}));
  EXPECT_EQ(panels.dial, (Rect{4, 4, 151, 71}));
  EXPECT_EQ(panels.charts, (Rect{5, 5, 159, 79}));
  EXPECT_EQ(panels.chart, (Rect{1, 1, 158, 85}));
  EXPECT_EQ(panels.listing, (Rect{5, 33, 158, 50}));
  EXPECT_EQ(panels.image_panel, (Rect{5, 5, 159, 79}));
  EXPECT_EQ(panels.image, (Rect{4, 4, 151, 47}));
  EXPECT_EQ(geometry.pointer, (Rect{39, 17, 79, 41}));
}

TEST(FaceLayoutTest, ImageCaption) {
  RelayoutInput input = CompactOrb(0, 0);
  input.layout.caption_size_offset = 2;
  FaceGeometry panels = RelayoutFace(input).panels;
  EXPECT_TRUE(panels.image_caption_shown);
  EXPECT_EQ(panels.image_caption, (Rect{0, 56, 166, 50}));
  // (87 x 40 div 100) div 4 + 2 - 1.
  EXPECT_EQ(panels.image_caption_point_size, 9);

  input.layout.caption_shown = false;
  panels = RelayoutFace(input).panels;
  EXPECT_FALSE(panels.image_caption_shown);
  EXPECT_EQ(panels.image, (Rect{0, 0, 166, 87}));
}

TEST(FaceLayoutTest, GridSizeText) {
  struct Case {
    int width;
    int height;
    bool zoomed;
    const char* expected;
  };
  const Case cases[] = {
      {320, 90, false, " 1  2"},
      {1920, 900, false, "10 12"},
      {330, 179, false, " 1  2"},  // rounds down to whole cells
      {640, 180, true, " 1  1"},   // zoomed: the stored size stays
  };
  for (const Case& c : cases) {
    RelayoutInput input;
    input.layout = {c.width, c.height};
    input.cell_width = 160;
    input.cell_height = 90;
    input.zoomed = c.zoomed;
    input.record_grid_size = " 1  1";
    EXPECT_EQ(RelayoutFace(input).grid_size_text, c.expected) << c.width;
  }
}

TEST(FaceLayoutTest, WithoutAGridTheStoredSizeStays) {
  RelayoutInput input = CompactOrb(0, 0);
  input.cell_width = 0;
  input.record_grid_size = " 2  3";
  EXPECT_EQ(RelayoutFace(input).grid_size_text, " 2  3");
}

TEST(FaceLayoutTest, ListingColumns) {
  // A listing 160 wide is what a window of 163 gives frameless (chart 160).
  RelayoutInput input = CompactOrb(0, 0);
  input.layout.window_width = 163;
  const RelayoutGeometry geometry = RelayoutFace(input);
  ASSERT_EQ(geometry.panels.listing.width, 160);
  EXPECT_EQ(geometry.listing_columns, (std::array<int, 5>{18, 69, 27, 23, 0}));
  // Too narrow for the columns: none gets a negative width.
  input.layout.window_width = 20;
  for (int width : RelayoutFace(input).listing_columns) EXPECT_GE(width, 0);
}

}  // namespace
}  // namespace vigil
