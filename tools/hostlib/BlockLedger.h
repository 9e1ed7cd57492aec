// Watches every host text block that crosses the boundary. The module's own
// GlobalAlloc and GlobalFree calls are routed through the ledger by patching
// its import table, so the host sees each block's size, each free, and any
// block freed twice or never freed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace kdhost {

class BlockLedger {
 public:
  static BlockLedger& Get();

  // Routes the module's GlobalAlloc/GlobalFree through the ledger; false when
  // the module does not import them.
  bool Install(HMODULE module);

  // Blocks the host makes and frees, as a host would with its own texts.
  char* HostBlock(const std::string& text);
  void HostFree(char* block);

  // Size of a live block made by the module (0 when it is not one).
  std::size_t ModuleBlockSize(const void* block) const;
  bool IsLiveModuleBlock(const void* block) const { return moduleBlocks_.count(block) != 0; }
  bool IsLiveHostBlock(const void* block) const { return hostBlocks_.count(block) != 0; }
  std::size_t LiveModuleBlocks() const { return moduleBlocks_.size(); }
  std::size_t LiveHostBlocks() const { return hostBlocks_.size(); }
  int ModuleAllocations() const { return moduleAllocations_; }
  int ModuleFrees() const { return moduleFrees_; }

  // Rule breaks seen so far: non-fixed blocks, double or stray frees.
  const std::vector<std::string>& Errors() const { return errors_; }
  void Fail(const std::string& what) { errors_.push_back(what); }

  // Forgets the counts and errors (live blocks stay known).
  void ResetCounts();

 private:
  static HGLOBAL WINAPI HookedAlloc(UINT flags, SIZE_T bytes);
  static HGLOBAL WINAPI HookedFree(HGLOBAL block);

  std::map<const void*, std::size_t> moduleBlocks_;
  std::map<const void*, std::size_t> hostBlocks_;
  std::vector<std::string> errors_;
  int moduleAllocations_ = 0;
  int moduleFrees_ = 0;
};

// Replaces one imported function of a loaded module; returns the old address or null.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace kdhost
