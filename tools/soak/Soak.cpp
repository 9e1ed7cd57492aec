// kdpie-soak: loads kdPieChart.nbp as the host does and keeps four rotating
// charts busy with random actions (plausible and hostile parameter texts),
// resizes, re-parenting messages, deletes and re-creates, saves and pictures
// loaded back, while it pumps their paints and rotation ticks. Every 30 s it
// prints the module's live GDI objects, windows, timers and host text blocks
// as the host sees them (through the import ledgers); at the end it leaves
// run mode and checks that everything is back where it started.
//   kdpie-soak [seconds=60] [seed] [call limit in seconds=20]
// Exit code: 0 all freed; 1 a leak or a broken rule; 2 a crash; 3 a call, or
// window messages without a pause, not done within the time limit.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BlockLedger.h"
#include "FloatMode.h"
#include "HostSide.h"
#include "HostWindow.h"
#include "HostileTexts.h"
#include "PlausibleParameters.h"
#include "PlugInModule.h"
#include "ResourceLedger.h"

namespace {

constexpr int kCharts = 4;
DWORD callLimitMs = 20000;  // a single call or paint slower than this hangs the host
constexpr DWORD kReportEveryMs = 30000;

// ------------------------------------------------------------ watchdog

// The call into the module now running, watched from a second thread: a call
// that does not return ends the process with its description.
class CallWatch {
 public:
  void Begin(const std::string& what) {
    Describe(what);
    startedAt_.store(GetTickCount());
    busy_.store(true);
  }
  // Names the part of the call now running; the call's time runs on.
  void Describe(const std::string& what) { std::snprintf(what_, sizeof what_, "%s", what.c_str()); }
  void End() { busy_.store(false); }
  const char* What() const { return what_; }

  // Remembers an action, so a failure can show what led to it.
  void Note(const std::string& action) {
    std::snprintf(recent_[next_++ % kRecent], sizeof recent_[0], "%s", action.c_str());
  }
  void PrintRecent() const {
    std::printf("the last actions, oldest first:\n");
    for (unsigned i = next_ > kRecent ? next_ - kRecent : 0; i < next_; ++i) std::printf("  %s\n", recent_[i % kRecent]);
  }

  void StartWatchdog() {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &caller_, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    callerId_ = GetCurrentThreadId();
    CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
  }

 private:
  static DWORD WINAPI Watch(void* self) {
    auto* watch = static_cast<CallWatch*>(self);
    for (;;) {
      Sleep(500);
      // Busy first, then its start: read the other way round, a call begun
      // in between would be timed from an earlier call's start. Signed, so a
      // start after this thread's clock reading is not overdue.
      const bool busy = watch->busy_.load();
      const DWORD started = watch->startedAt_.load();
      const long elapsed = static_cast<long>(GetTickCount() - started);
      if (busy && elapsed > static_cast<long>(callLimitMs)) {
        // Reading the hung thread's windows and registers can hang as well
        // (it may be suspended holding a lock they need): the process ends
        // a few seconds on in any case, each part printed as it is known.
        CreateThread(nullptr, 0, &EndSoon, nullptr, 0, nullptr);
        std::printf("\nFAILED: a call did not return within %lu s: %s\n",
                    static_cast<unsigned long>(callLimitMs / 1000), watch->what_);
        watch->PrintRecent();
        std::fflush(stdout);
        watch->PrintWindows();
        std::fflush(stdout);
        watch->PrintWhere();
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    }
  }

  static DWORD WINAPI EndSoon(void*) {
    Sleep(5000);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
  }

  // Where the hung call is: a few samples of the calling thread's
  // instruction pointer, each as module and offset; on x86_64 each is
  // followed by the calling thread's stack, frame by frame.
  void PrintWhere() const {
    for (int sample = 0; sample < 5; ++sample, Sleep(100)) {
      if (SuspendThread(caller_) == static_cast<DWORD>(-1)) return;
      CONTEXT context{};
      context.ContextFlags = CONTEXT_FULL;
      GetThreadContext(caller_, &context);
#if defined(_WIN64)
      PrintPlace("running in", context.Rip);
      if (InModule(context.Rip)) PrintStack(context);
#else
      PrintPlace("running in", context.Eip);
#endif
      ResumeThread(caller_);
    }
  }

  static void PrintPlace(const char* what, uintptr_t at) {
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(at), &module))
      GetModuleFileNameA(module, name, sizeof name);
    std::printf("  %s %s +0x%llx\n", what, name,
                static_cast<unsigned long long>(at - reinterpret_cast<uintptr_t>(module)));
  }

#if defined(_WIN64)
  // Unwinds a suspended thread's stack with the modules' unwind tables; a
  // function without them (a system call stub) is taken for a leaf.
  static void PrintStack(CONTEXT context) {
    for (int frame = 0; frame < 48 && context.Rip != 0; ++frame) {
      if (frame > 0) PrintPlace("  called from", context.Rip);
      DWORD64 base = 0;
      PRUNTIME_FUNCTION entry = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
      if (entry == nullptr) {
        context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
        context.Rsp += 8;
        continue;
      }
      void* handlerData = nullptr;
      DWORD64 establisher = 0;
      RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, entry, &context, &handlerData, &establisher,
                       nullptr);
    }
  }

  static bool InModule(uintptr_t at) {
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(at), &module) != 0;
  }
#endif

  // The top-level windows of the hung thread: a modal window waiting for an
  // answer nobody gives shows here. Their texts are read without a message,
  // which the hung thread would never answer.
  void PrintWindows() const {
    EnumThreadWindows(callerId_, PrintWindow, 0);
  }
  static BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
    char name[128] = "";
    wchar_t text[256] = L"";
    GetClassNameA(window, name, sizeof name);
    InternalGetWindowText(window, text, 256);
    std::printf("  window of the thread: class \"%s\", text \"%ls\"%s\n", name, text,
                IsWindowVisible(window) ? ", visible" : "");
    return TRUE;
  }

  static constexpr unsigned kRecent = 60;
  HANDLE caller_ = nullptr;
  DWORD callerId_ = 0;
  std::atomic<DWORD> startedAt_{0};
  std::atomic<bool> busy_{false};
  char what_[512] = "";
  char recent_[kRecent][512] = {};
  unsigned next_ = 0;
};

CallWatch watch;

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
  std::printf("\nFAILED: exception 0x%08lx during: %s\n",
              static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), watch.What());
  watch.PrintRecent();
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 2);
  return EXCEPTION_EXECUTE_HANDLER;
}

// ------------------------------------------------------------ counts

struct Counts {
  long gdi = 0, windows = 0, timers = 0, blocks = 0;
  double megabytes = 0;

  static Counts Now() {
    kdhost::ResourceLedger& resources = kdhost::ResourceLedger::Get();
    kdhost::BlockLedger& blocks = kdhost::BlockLedger::Get();
    Counts c;
    c.gdi = resources.LiveGdiObjects();
    c.windows = resources.LiveWindows();
    c.timers = resources.LiveTimers();
    c.blocks = static_cast<long>(blocks.LiveModuleBlocks() + blocks.LiveHostBlocks());
    PROCESS_MEMORY_COUNTERS memory{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
      c.megabytes = static_cast<double>(memory.PagefileUsage) / (1024 * 1024);
    return c;
  }
  void Raise(const Counts& o) {
    gdi = std::max(gdi, o.gdi);
    windows = std::max(windows, o.windows);
    timers = std::max(timers, o.timers);
    blocks = std::max(blocks, o.blocks);
    megabytes = std::max(megabytes, o.megabytes);
  }
  std::string Text() const {
    char text[160];
    std::snprintf(text, sizeof text, "GDI objects %ld, windows %ld, timers %ld, text blocks %ld, memory %.1f MB",
                  gdi, windows, timers, blocks, megabytes);
    return text;
  }
};

struct Tally {
  long actions = 0, trues = 0, ticks = 0, paints = 0, resizes = 0, reparents = 0, recreations = 0;
};

// ------------------------------------------------------------ the soak

struct Slot {
  std::string name;
  HWND rectangles[2] = {nullptr, nullptr};
  int current = 0;  // which rectangle the host names `name` now
};

class Soak {
 public:
  Soak(kdhost::PlugInModule& module, unsigned seed)
      : module_(module), hostile_(seed), plausible_(hostile_.Random()), page_("kdPieChart soak", 1260, 1000) {
    for (int i = 0; i < kCharts; ++i) {
      Slot& slot = slots_[i];
      slot.name = "Pie" + std::to_string(i + 1);
      const int x = 10 + (i % 2) * 620, y = 10 + (i / 2) * 490;
      slot.rectangles[0] = page_.AddRectangle(slot.name, x, y, 300, 240);
      slot.rectangles[1] = page_.AddRectangle(slot.name + "Alt", x + 310, y, 300, 240);
      kdhost::HostSide::Get().AddRectangle(slot.name, slot.rectangles[0]);
    }
    PrepareFiles();
  }
  ~Soak() { RemoveFiles(); }

  void Run(DWORD durationMs) {
    baseline_ = Counts::Now();
    for (Slot& slot : slots_) Recreate(slot);
    Pump(200);
    const Counts running = Counts::Now();
    peak_ = running;
    std::printf("start:         %s\nfour charts:   %s\n", baseline_.Text().c_str(), running.Text().c_str());
    const DWORD start = GetTickCount();
    DWORD nextReport = kReportEveryMs;
    while (GetTickCount() - start < durationMs) {
      Step();
      Pump(hostile_.Below(4) == 0 ? 30 : 2);
      peak_.Raise(Counts::Now());
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= nextReport) {
        Report(elapsed);
        nextReport += kReportEveryMs;
      }
    }
    // The closing figures, unless the last report was just made.
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed / 1000 != (nextReport - kReportEveryMs) / 1000) Report(elapsed);
  }

  // Leaves run mode as the host does at the end of a run; true when every
  // count is back at its start and no rule was broken.
  bool Finish() {
    Call("nbMessage leave run mode", [&] { module_.nbMessage(kd::kMessageLeaveRunMode, 0); });
    Pump(100);
    const Counts end = Counts::Now();
    std::printf("peak:          %s\nend:           %s\n", peak_.Text().c_str(), end.Text().c_str());
    std::printf("%ld actions (%ld true), %ld rotation ticks, %ld paints, %ld resizes, %ld re-parentings, "
                "%ld re-creations\n",
                tally_.actions, tally_.trues, tally_.ticks, tally_.paints, tally_.resizes, tally_.reparents,
                tally_.recreations);
    bool ok = true;
    auto expect = [&](bool holds, const char* what) {
      if (!holds) std::printf("FAILED: %s\n", what);
      ok = ok && holds;
    };
    expect(end.gdi == baseline_.gdi, "GDI objects left behind");
    expect(end.windows == baseline_.windows, "windows left behind");
    expect(end.timers == baseline_.timers, "timers left running");
    expect(end.blocks == baseline_.blocks, "text blocks left behind");
    for (const std::string& e : kdhost::BlockLedger::Get().Errors()) expect(false, e.c_str());
    for (const std::string& e : kdhost::ResourceLedger::Get().Errors()) expect(false, e.c_str());
    expect(kdhost::HostSide::Get().unusedCalls == 0, "the module called a callback it must only keep");
    expect(tally_.ticks > 0, "no rotation tick arrived");
    return ok;
  }

 private:
  template <class Body>
  void Call(const std::string& what, Body body) {
    watch.Begin(what);
    {
      kdhost::FloatCheck check(what.c_str(), false);  // messages also run the system's code
      body();
    }
    watch.End();
  }

  bool Exec(int id, const std::vector<std::string>& params) {
    kdhost::BlockLedger& ledger = kdhost::BlockLedger::Get();
    std::vector<kd::HostText> texts;
    for (const std::string& p : params) texts.push_back(ledger.HostBlock(p));
    std::string what = "action " + std::to_string(id);
    for (const std::string& p : params) what += " \"" + p.substr(0, 60) + (p.size() > 60 ? "...\"" : "\"");
    bool result = false;
    watch.Note(what);
    Call(what, [&] {
      result = module_.nbExecAction(id, texts.empty() ? nullptr : texts.data(),
                                    static_cast<int32_t>(texts.size()) - 1);
    });
    for (kd::HostText t : texts) ledger.HostFree(t);
    ++tally_.actions;
    if (result) ++tally_.trues;
    return result;
  }

  // Runs the window messages for about `ms` milliseconds, counting the
  // rotation ticks and paints. Emptying the queue is one call to the
  // watchdog: frames slower than the rotation tick bring paints and ticks
  // without end, each of which returns, and stall the host all the same.
  void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      MSG msg;
      watch.Begin("window messages");
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER) ++tally_.ticks;
        if (msg.message == WM_PAINT) ++tally_.paints;
        char owner[64] = "";
        GetWindowTextA(GetParent(msg.hwnd), owner, sizeof owner);
        const std::string what = "message " + std::to_string(msg.message) + " to the chart in " + owner;
        watch.Describe("window messages without a pause, the latest: " + what);
        kdhost::FloatCheck check(what.c_str(), false);  // messages also run the system's code
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      watch.End();
    } while (static_cast<int>(end - GetTickCount()) > 0);
  }

  bool HasChart(const Slot& slot) const { return GetWindow(slot.rectangles[slot.current], GW_CHILD) != nullptr; }

  void Recreate(Slot& slot) {
    std::vector<std::string> params{slot.name};
    for (std::string& p : plausible_.For(1, 9, "")) params.push_back(p);
    if (hostile_.Below(4) == 0) {
      Exec(2, {slot.name});
      for (int i = 0; i < 4; ++i) Exec(5, {slot.name, "R" + std::to_string(i), std::to_string(1 + i), plausible_.Colour()});
    } else {
      Exec(1, params);
    }
    Exec(34, {slot.name, "true", std::to_string(1 + hostile_.Below(9))});
    ++tally_.recreations;
  }

  void Step() {
    Slot& slot = slots_[hostile_.Below(kCharts)];
    const int roll = hostile_.Below(100);
    if (roll < 6) {
      Resize(slot);
    } else if (roll < 10) {
      Reparent(slot);
    } else if (roll < 13) {
      Exec(3, {slot.name});
      Recreate(slot);
    } else if (roll < 16) {
      SaveAndLoadBack(slot);
    } else {
      RandomAction(slot, roll < 45);
    }
    if (!HasChart(slot)) Recreate(slot);
    if (hostile_.Below(40) == 0) Exec(34, {slot.name, "true", std::to_string(hostile_.Below(12))});
  }

  void RandomAction(const Slot& slot, bool hostile) {
    int id;
    do id = 1 + hostile_.Below(34);
    while (id == 31 || id == 32);  // the pickers wait for a user
    const int count = ParameterCount(id);
    std::vector<std::string> params;
    if (hostile) {
      params.push_back(hostile_.ChartName(slot.name));
      for (int i = 1; i < count; ++i) params.push_back(hostile_.Next());
    } else {
      params.push_back(slot.name);
      for (std::string& p : plausible_.For(id, count, Picture())) params.push_back(p);
    }
    Exec(id, params);
  }

  void Resize(const Slot& slot) {
    const int sizes[] = {0, 1, 3, 40, 120, 240, 300, 480};
    const int width = sizes[hostile_.Below(8)], height = sizes[hostile_.Below(8)];
    RECT r;
    GetWindowRect(slot.rectangles[slot.current], &r);
    MapWindowPoints(nullptr, page_.handle(), reinterpret_cast<POINT*>(&r), 2);
    const std::string name = slot.current == 0 ? slot.name : slot.name + "Alt";
    const std::string what = "resize " + name + " to " + std::to_string(width) + " x " + std::to_string(height);
    watch.Note(what);
    Call(what, [&] { page_.MoveRectangle(name, r.left, r.top, width, height); });
    ++tally_.resizes;
  }

  // The host now names another rectangle and tells the chart to ask again.
  void Reparent(Slot& slot) {
    const HWND from = slot.rectangles[slot.current];
    slot.current = 1 - slot.current;
    const HWND to = slot.rectangles[slot.current];
    kdhost::HostSide::Get().AddRectangle(slot.name, to);
    watch.Note("re-parent " + slot.name);
    std::vector<HWND> children;
    for (HWND child = GetWindow(from, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
    for (HWND child : children)
      Call("re-parenting message to " + slot.name, [&] {
        SendMessageA(child, kd::kHostRectangleMessage, reinterpret_cast<WPARAM>(to), kd::kHostRectangleResized);
      });
    ++tally_.reparents;
  }

  void SaveAndLoadBack(const Slot& slot) {
    const std::string file = folder_ + "\\" + slot.name + ".bmp";
    if (Exec(33, {slot.name, file})) saved_ = file;
    if (hostile_.Below(2)) Exec(12, {slot.name, file, "Stretch", hostile_.Below(2) ? "show" : "hide"});
  }

  // A picture path: one the soak saved, a damaged or missing one.
  std::string Picture() {
    switch (hostile_.Below(5)) {
      case 0: return saved_;
      case 1: return folder_ + "\\missing.bmp";
      default: return junk_[static_cast<size_t>(hostile_.Below(static_cast<int>(junk_.size())))];
    }
  }

  int ParameterCount(int id) const {
    for (const kdhost::Registration& r : kdhost::HostSide::Get().registrations)
      if (r.id == id) return r.count;
    return 1;
  }

  // A scratch folder that is also the current folder, so files saved under
  // junk names land there; junk pictures of every kind the module loads.
  void PrepareFiles() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "kdpie-soak-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    SetCurrentDirectoryA(folder_.c_str());
    for (const char* extension : {"bmp", "ico", "jpg", "wmf", "emf"}) {
      const std::string path = folder_ + "\\junk." + extension;
      if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        for (int i = 0; i < 300; ++i) std::fputc(hostile_.Below(256), f);
        std::fclose(f);
      }
      junk_.push_back(path);
    }
  }

  void RemoveFiles() {
    SetCurrentDirectoryA(temp_.c_str());
    kdhost::RemoveFolder(folder_);
  }

  void Report(DWORD elapsedMs) {
    std::printf("%5lu s: %ld actions, %ld ticks | %s\n", static_cast<unsigned long>(elapsedMs / 1000),
                tally_.actions, tally_.ticks, Counts::Now().Text().c_str());
    std::fflush(stdout);
  }

  kdhost::PlugInModule& module_;
  kdhost::HostileTexts hostile_;
  kdsoak::PlausibleParameters plausible_;
  kdhost::HostWindow page_;
  Slot slots_[kCharts];
  std::string folder_, saved_, temp_ = "C:\\";
  std::vector<std::string> junk_;
  Counts baseline_, peak_;
  Tally tally_;
};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : GetTickCount();
  if (argc > 3) callLimitMs = static_cast<DWORD>(std::max(1, std::atoi(argv[3]))) * 1000;
  SetUnhandledExceptionFilter(&OnCrash);
  watch.StartWatchdog();
  std::printf("kdPieChart soak: %d s, seed %u, %d charts\n", seconds, seed, kCharts);

  kdhost::PlugInModule module(kdhost::ProgramFolder() + "kdPieChart.nbp");
  if (!kdhost::BlockLedger::Get().Install(module.handle()) ||
      !kdhost::ResourceLedger::Get().Install(module.handle())) {
    std::printf("FAILED: cannot watch the module's imports\n");
    return 1;
  }
  kdhost::HostSide& host = kdhost::HostSide::Get();
  host.Attach(module);
  kd::HostText name = nullptr, author = nullptr, description = nullptr;
  module.nbInitPlugIn(0, &name, &author, &description);
  for (kd::HostText t : {name, author, description}) kdhost::BlockLedger::Get().HostFree(t);

  bool ok;
  {
    Soak soak(module, seed);
    soak.Run(static_cast<DWORD>(seconds) * 1000);
    ok = soak.Finish();
  }
  std::printf("%s\n", ok ? "soak passed: everything freed" : "soak FAILED");
  return ok ? 0 : 1;
}
