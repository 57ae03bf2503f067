#include "store/processing_states.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vigil {
namespace {

struct LineCase {
  std::string line;
  ProcessingRow row;
};

TEST(ProcessingStatesTest, ReadsEachProcessingLine) {
  const std::vector<LineCase> cases = {
      {"* DIALOG   Monthly check State=Done",
       {"DIALOG  ", "Monthly check", "Done", 42}},
      {"* LOADER   Load #3", {"LOADER  ", "Load", "", 32}},
      {"* NIGHTLY  Global profile", {"NIGHTLY ", "Global profile", "", 39}},
      {"* STEP1    Copy State=Processed",
       {"STEP1   ", "Copy", "Processed", 60}},
      {"* STEP2    Run State=Executing", {"STEP2   ", "Run", "Executing", 12}},
      {"* STEP3    Run State=Processing",
       {"STEP3   ", "Run", "Processing", 36}},
      {"* STEP4    Call State=Rfc Failure",
       {"STEP4   ", "Call", "Rfc Failure", 22}},
      {"* STEP5    Call State=Failed", {"STEP5   ", "Call", "Failed", 22}},
      {"* STEP6    Read State=NoData", {"STEP6   ", "Read", "NoData", 70}},
      {"* STEP7    Find State=Not Found",
       {"STEP7   ", "Find", "Not Found", 43}},
      // An unknown state keeps the image of the line.
      {"* STEP8    Wait State=Queued", {"STEP8   ", "Wait", "Queued", 2}},
      {"* PROFILE  SAP Quillon.Prf State=Queued",
       {"PROFILE ", "SAP Quillon.Prf", "Queued", 9}},
      {"* PROFILE  SAP Quillon.Prf State=Done",
       {"PROFILE ", "SAP Quillon.Prf", "Done", 42}},
      // State words are case-sensitive and whole.
      {"* STEP9    Copy State=done", {"STEP9   ", "Copy", "done", 2}},
      {"* STEP9    Copy State=Done ", {"STEP9   ", "Copy", "Done ", 2}},
      // A comment goes, also before a state.
      {"* STEP10   Copy #all files State=Done",
       {"STEP10  ", "Copy", "Done", 42}},
      // Short lines: fields beyond the end are empty.
      {"* ", {"", "", "", 32}},
      {"* ABC", {"ABC", "", "", 32}},
      {"* ABCDEFGHIJK", {"ABCDEFGH", "JK", "", 32}},
      // "State=" within the caption leaves no description.
      {"* State=Done", {"State=Do", "", "Done", 42}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const ProcessingTable table = ReadProcessingStates({c.line});
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0], c.row);
  }
}

TEST(ProcessingStatesTest, LongTextsAreBounded) {
  const std::string long_text(150, 'x');
  const ProcessingTable no_state =
      ReadProcessingStates({"* STEP     " + long_text});
  ASSERT_EQ(no_state.size(), 1u);
  EXPECT_EQ(no_state[0].description, std::string(99, 'x'));
  const ProcessingTable long_state =
      ReadProcessingStates({"* STEP     Run State=" + long_text});
  ASSERT_EQ(long_state.size(), 1u);
  EXPECT_EQ(long_state[0].state, std::string(99, 'x'));
}

TEST(ProcessingStatesTest, OnlyLinesBeginningWithTheMarkCount) {
  const ProcessingTable table = ReadProcessingStates({
      "<Prtg>",
      "* FIRST    One State=Done",
      " * INDENTED Two State=Done",
      "*NOBLANK   Three State=Done",
      "<Text>* Four</Text>",
      "* SECOND   Five",
      "</Prtg>",
  });
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].caption, "FIRST   ");
  EXPECT_EQ(table[1].caption, "SECOND  ");
}

TEST(ProcessingStatesTest, WithoutProcessingLinesTheTableIsEmpty) {
  EXPECT_TRUE(ReadProcessingStates({}).empty());
  EXPECT_TRUE(ReadProcessingStates({"<Prtg>", "<Result><Channel>A</Channel>",
                                    "<Value>1</Value>", "</Result>", "</Prtg>"})
                  .empty());
}

}  // namespace
}  // namespace vigil
