// The rows of the create-chart editor's record table as texts: how a record
// list becomes rows and slices, how a row becomes a slice again, and how the
// rows become a record list. Texts stay the bytes they were read or typed as.
// Leaves out: the table control and the preview (editors).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "charts/Conversions.h"

namespace kd {

// A table row: the record's label, then the value and colour texts. A row
// read from a short record may lack either; a missing text counts as empty.
struct RecordRow {
  std::string caption;
  std::vector<std::string> subTexts;  // at most two: value, colour

  const std::string& Value() const;
  const std::string& Colour() const;
};

// A record of a record list as the table and the preview take it: its row,
// and its slice when the record reads completely.
struct TableRecord {
  RecordRow row;
  std::optional<PieRecord> slice;
};

// Every record of a record list, empty ones included, in order. Fields past
// the third are dropped; a record that does not read gets a row without slice.
std::vector<TableRecord> ReadTableRecords(const std::string& recordList);

// The slice of a row: the value text as a number, the colour text as an RGB
// triple (empty: clDefault). Nothing when either does not read.
std::optional<PieRecord> RowSlice(const RecordRow& row);

// The slice of a newly entered record: nothing when a colour text is given
// and does not read.
std::optional<PieRecord> EnteredSlice(const std::string& name, int value, const std::string& colour);

// "caption;value;colour" of every row joined by "|"; empty for no rows.
std::string RecordListText(const std::vector<RecordRow>& rows);

}  // namespace kd
