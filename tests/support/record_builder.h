// Builds configuration records column by column, so that tests say which
// fields they care about.
#ifndef VIGIL_TESTS_SUPPORT_RECORD_BUILDER_H_
#define VIGIL_TESTS_SUPPORT_RECORD_BUILDER_H_

#include <string>

namespace vigil::testing {

struct RecordBuilder {
  std::string number = "0102";
  std::string display_name = "Dialog";
  char face_mode = '0';
  char chart_type = '0';
  std::string grid_size = " 1  1";
  char chart_mode = '.';
  std::string max_bars = "00";
  char image_tens = '0';
  std::string delay = "   60";
  char gauge_tens = '0';
  std::string idle_colour = "17";
  char gauge_units = '0';
  std::string image_index = "00";
  char hold = '.';
  std::string chart_bars = "xxxxxxxx";
  char id_kind = '0';
  char sorting = '0';
  char zoom = '.';
  std::string history_bars = "010";
  char keep_data = '.';
  std::string lock_name = "DIALOG";
  char legend = 'x';
  char title_shown = 'x';
  char image_units = '0';
  std::string tail = "Dialog.Prf;Check.Exe;addr;My Title";

  std::string Text() const;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_RECORD_BUILDER_H_
