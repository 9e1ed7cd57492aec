#include "BlockLedger.h"

#include <cstring>

namespace kdhost {

namespace {
using GlobalAllocFn = HGLOBAL(WINAPI*)(UINT, SIZE_T);
using GlobalFreeFn = HGLOBAL(WINAPI*)(HGLOBAL);
// Straight from kernel32: a patched import table of this program must not
// route the ledger's own calls back into the ledger.
template <class Fn>
Fn Kernel32(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}
const GlobalAllocFn realAlloc = Kernel32<GlobalAllocFn>("GlobalAlloc");
const GlobalFreeFn realFree = Kernel32<GlobalFreeFn>("GlobalFree");
}  // namespace

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
  for (; import->Name; ++import) {
    if (_stricmp(reinterpret_cast<char*>(base + import->Name), dll) != 0) continue;
    auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    DWORD namesRva = import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
    for (; names->u1.AddressOfData; ++names, ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD old = 0;
      VirtualProtect(&thunk->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      void* previous = reinterpret_cast<void*>(thunk->u1.Function);
      thunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&thunk->u1.Function, sizeof(void*), old, &old);
      return previous;
    }
  }
  return nullptr;
}

BlockLedger& BlockLedger::Get() {
  static BlockLedger ledger;
  return ledger;
}

bool BlockLedger::Install(HMODULE module) {
  void* alloc = PatchImport(module, "kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&HookedAlloc));
  void* free = PatchImport(module, "kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&HookedFree));
  return alloc && free;
}

HGLOBAL WINAPI BlockLedger::HookedAlloc(UINT flags, SIZE_T bytes) {
  BlockLedger& ledger = Get();
  HGLOBAL block = realAlloc(flags, bytes);
  ++ledger.moduleAllocations_;
  if (flags != GMEM_FIXED) ledger.Fail("module block with flags " + std::to_string(flags));
  if (block) ledger.moduleBlocks_[block] = bytes;
  return block;
}

HGLOBAL WINAPI BlockLedger::HookedFree(HGLOBAL block) {
  BlockLedger& ledger = Get();
  ++ledger.moduleFrees_;
  if (ledger.moduleBlocks_.erase(block) == 0 && ledger.hostBlocks_.erase(block) == 0) {
    // Freeing it for real would corrupt the heap: a stray free is only recorded.
    ledger.Fail("module freed a block that is not live");
    return block;
  }
  return realFree(block);
}

char* BlockLedger::HostBlock(const std::string& text) {
  auto* block = static_cast<char*>(realAlloc(GMEM_FIXED, text.size() + 1));
  std::memcpy(block, text.c_str(), text.size() + 1);
  hostBlocks_[block] = text.size() + 1;
  return block;
}

void BlockLedger::HostFree(char* block) {
  if (!block) return;
  if (moduleBlocks_.erase(block) == 0 && hostBlocks_.erase(block) == 0) {
    Fail("host asked to free a block that is not live");
    return;
  }
  realFree(block);
}

std::size_t BlockLedger::ModuleBlockSize(const void* block) const {
  auto it = moduleBlocks_.find(block);
  return it == moduleBlocks_.end() ? 0 : it->second;
}

void BlockLedger::ResetCounts() {
  errors_.clear();
  moduleAllocations_ = 0;
  moduleFrees_ = 0;
}

}  // namespace kdhost
