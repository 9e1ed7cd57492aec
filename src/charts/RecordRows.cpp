#include "charts/RecordRows.h"

namespace kd {

namespace {
const std::string kEmpty;

// The colour of a record: clDefault for no text; ConversionError when it does not read.
TColor RecordColour(const std::string& text) { return text.empty() ? clDefault : ColorParameter(text); }
}  // namespace

const std::string& RecordRow::Value() const { return subTexts.size() > 0 ? subTexts[0] : kEmpty; }

const std::string& RecordRow::Colour() const { return subTexts.size() > 1 ? subTexts[1] : kEmpty; }

std::vector<TableRecord> ReadTableRecords(const std::string& recordList) {
  std::vector<TableRecord> records;
  if (recordList.empty()) return records;
  for (const std::string& text : DelimitedSplit(recordList, '|')) {
    TableRecord record;
    const std::vector<std::string> fields = DelimitedSplit(text, ';');
    if (!fields.empty()) record.row.caption = fields[0];
    for (size_t i = 1; i < fields.size() && i < 3; ++i) record.row.subTexts.push_back(fields[i]);
    try {
      record.slice = ReadRecord(text);
    } catch (const ConversionError&) {
      // The row stays without its slice; the next record follows.
    }
    records.push_back(std::move(record));
  }
  return records;
}

std::optional<PieRecord> RowSlice(const RecordRow& row) {
  try {
    PieRecord slice;
    slice.value = FloatingParameter(row.Value());
    slice.color = RecordColour(row.Colour());
    slice.label = row.caption;
    return slice;
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::optional<PieRecord> EnteredSlice(const std::string& name, int value, const std::string& colour) {
  try {
    return PieRecord{name, static_cast<double>(value), RecordColour(colour)};
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::string RecordListText(const std::vector<RecordRow>& rows) {
  std::string text;
  for (const RecordRow& row : rows) {
    if (&row != &rows.front()) text += '|';
    text += row.caption + ';' + row.Value() + ';' + row.Colour();
  }
  return text;
}

}  // namespace kd
