#include "host/HostText.h"

#include <cstring>

namespace kd {

void HostStringSet(BlockAllocator& blocks, HostText* slot, std::string_view text) {
  if (!slot) throw HostError("no text slot");
  char* block = blocks.Allocate(text.size() + 1);
  if (!block) throw HostError("no memory for a host text");
  std::memcpy(block, text.data(), text.size());
  block[text.size()] = '\0';
  // The old block goes only once the new one exists, so a failure leaves the slot intact.
  if (*slot) blocks.Free(*slot);
  *slot = block;
}

void HostStringRelease(BlockAllocator& blocks, HostText* slot) {
  if (!slot || !*slot) return;
  blocks.Free(*slot);
  *slot = nullptr;
}

namespace {
// Owns the local slot of one question, so it is released on every way out.
class QuestionSlot {
 public:
  explicit QuestionSlot(BlockAllocator& blocks) : blocks_(blocks) {}
  ~QuestionSlot() { HostStringRelease(blocks_, &text_); }
  QuestionSlot(const QuestionSlot&) = delete;
  QuestionSlot& operator=(const QuestionSlot&) = delete;
  HostText* slot() { return &text_; }

 private:
  BlockAllocator& blocks_;
  HostText text_ = nullptr;
};
}  // namespace

HostAnswer AskHost(BlockAllocator& blocks, InterfaceAccessFn access, int32_t code,
                   std::string_view question) {
  if (!access) throw HostError("the host gave no interface-access callback");
  QuestionSlot local(blocks);
  HostStringSet(blocks, local.slot(), question);
  HostAnswer answer;
  answer.accepted = access(code, local.slot());
  answer.text = HostTextValue(*local.slot());
  return answer;
}

}  // namespace kd
