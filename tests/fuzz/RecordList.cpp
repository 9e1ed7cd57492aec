// Fuzz target: record lists "label;value;colour|..." read into records.
#include "FuzzInput.h"
#include "charts/Conversions.h"
#include "engine/TextLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kdfuzz::FuzzInput input(data, size);
  kd::TextLocale locale = kd::TextLocale::Classic();
  if (input.Byte() & 1) locale.decimalSeparator = ',';
  kd::SetCurrentLocale(locale);
  for (const kd::PieRecord& record : kd::RecordListParameter(input.Text())) {
    if (record.value != record.value && record.label.size() > size) __builtin_trap();
  }
  return 0;
}
