// Fuzz target: the mark text of every slice for each marks style and legend
// text style, with arbitrary labels, values and value/percent formats.
#include "FuzzInput.h"
#include "engine/EngineError.h"
#include "engine/Marks.h"
#include "engine/PieSeries.h"
#include "engine/TextLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kdfuzz::FuzzInput input(data, size);
  kd::SetCurrentLocale(kd::TextLocale::Classic());
  kd::TPieSeries series;
  const int markStyle = input.Byte() % 9;
  const int legendStyle = input.Byte() % 6;
  try {
    series.SetValueFormat(input.Text());
    series.SetPercentFormat(input.Text());
  } catch (const kd::EngineError&) {
  }
  const int slices = input.Byte() % 8;
  for (int i = 0; i < slices; ++i) series.AddSlice(input.Number(), input.Text());
  series.Marks().SetStyle(static_cast<kd::TSeriesMarksStyle>(markStyle));
  for (int i = 0; i < series.SliceCount(); ++i) {
    kd::SliceMarkText(series, i, static_cast<kd::TLegendTextStyle>(legendStyle));
  }
  return 0;
}
