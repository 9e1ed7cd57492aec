// The scripted author of the editor tests.
#include "EditorRun.h"

#include <memory>
#include <mutex>

#include "BlockLedger.h"
#include "PlugInHost.h"
#include "editors/EditorForm.h"

namespace kdhost {

namespace {

EditorSeen ReadEditor(const SeenWindow& window) {
  EditorSeen seen;
  seen.seen = true;
  seen.className = window.className;
  seen.caption = window.caption;
  RECT client{};
  GetClientRect(window.window, &client);
  seen.client = SIZE{client.right, client.bottom};
  for (const ControlInfo& c : window.controls) {
    seen.texts[c.id] = c.wideText;
    if (c.className == "ComboBox") {
      seen.items[c.id] = ComboItems(c.window);
      seen.selection[c.id] = ComboSelection(c.window);
    }
    if (c.id == kd::editors::kIdCommand) {
      RECT r{};
      GetWindowRect(c.window, &r);
      seen.badgeWidth = r.right - r.left;
    }
  }
  return seen;
}

bool IsEditor(const SeenWindow& window) { return window.caption.rfind("kd", 0) == 0; }

}  // namespace

EditRun RunEditor(int id, const std::vector<std::optional<std::string>>& slots, const Author& author) {
  EditRun run;
  BlockLedger& ledger = BlockLedger::Get();
  std::vector<kd::HostText> blocks;
  for (const auto& text : slots) blocks.push_back(text ? ledger.HostBlock(*text) : nullptr);
  run.before = blocks;
  auto seen = std::make_shared<EditorSeen>();
  auto editor = std::make_shared<HWND>(nullptr);
  auto mutex = std::make_shared<std::mutex>();
  {
    DialogDriver driver([&, seen, editor, mutex](const SeenWindow& window) {
      if (IsEditor(window)) {
        {
          std::lock_guard<std::mutex> lock(*mutex);
          *seen = ReadEditor(window);
          *editor = window.window;
        }
        if (author.act) author.act(window.window);
        if (!author.common) ClickId(window.window, author.finish);
        return;
      }
      if (author.common) {
        author.common(window);
        while (IsWindow(window.window)) Sleep(20);
        ClickId(*editor, author.finish);
        return;
      }
      CloseTopLevel(window.window);
    });
    run.result = Plugin().nbEditAction(id, blocks.data(), static_cast<int32_t>(blocks.size()) - 1);
    run.windows = static_cast<int>(driver.Seen().size());
  }
  run.after = blocks;
  for (size_t i = 0; i < blocks.size(); ++i) {
    run.texts.push_back(blocks[i] ? std::string(blocks[i]) : std::string("<null>"));
    run.moduleBlock.push_back(ledger.ModuleBlockSize(blocks[i]));
    run.beforeStillLive.push_back(run.before[i] && ledger.IsLiveHostBlock(run.before[i]));
  }
  {
    std::lock_guard<std::mutex> lock(*mutex);
    run.seen = *seen;
  }
  for (kd::HostText block : blocks) ledger.HostFree(block);
  return run;
}

}  // namespace kdhost
