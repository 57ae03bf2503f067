// Reads the channels answer of a PRTG server (/api/table.xml with
// content=channels) line by line into item rows, one per channel.
//
// The answer is expected with each channel's name and its last value on two
// consecutive lines, in that order, as PRTG writes it:
//   <name>Ping Time</name>
//   <lastvalue>12 msec</lastvalue>
#ifndef VIGIL_PRTG_CHANNELS_READER_H_
#define VIGIL_PRTG_CHANNELS_READER_H_

#include <string>
#include <vector>

#include "monitor/item_table.h"

namespace vigil {

struct ChannelsAnswer {
  // Label "Channel 01:", image 29, Item the capitalised name, Data the
  // number of the last value ("0" when none), Unit the rest ("#" when none)
  // and, until the channel colours replace it, Color the whole last value.
  std::vector<ItemRow> rows;
  // 'E' when any value looks like 12.34 or 1,234, else 'D'.
  char number_format = 'D';
};

ChannelsAnswer ReadChannelsAnswer(const std::vector<std::string>& lines);

// "Channel 01:" to "Channel 09:", then "Channel 10:" and on.
std::string ChannelCaption(int number);

// Color of row 0 "clLime", then "clYellow" and on, eight colours in turn.
void ApplyChannelColours(std::vector<ItemRow>& rows);

}  // namespace vigil

#endif  // VIGIL_PRTG_CHANNELS_READER_H_
