// One click of the search button, from the click event to the hand-over of the URL, over the
// in-memory stand-in: the time per click and what the click takes from and gives back to the
// text heap. A click allocates one text per read of the query field, one for the URL and one for
// the link control's own copy of it; it releases the reads, the URL and the copy the control held
// from the click before. Nothing is left once the shell has shut down.
#include <benchmark/benchmark.h>

#include <string>

#include "app/shell.h"
#include "fatal/fatal.h"
#include "search/search_services.h"
#include "stand_in_platform.h"
#include "ui/main_window.h"

namespace {

// "百度一下" in GBK.
constexpr char kQuery[] = "\xb0\xd9\xb6\xc8\xd2\xbb\xcf\xc2";

std::uint32_t QueryPieces(const ulmora::SearchService& row) {
  std::uint32_t n = 0;
  for (std::uint32_t i = 0; i < row.pieceCount; ++i) {
    if (row.pieces[i].kind == ulmora::PieceKind::Query) ++n;
  }
  return n;
}

void ClickBench(benchmark::State& state, const ulmora::SearchService* row) {
  stand_in::Reset();
  ulmora::ResetShellState();
  ulmora::InitializeShell(ulmora::UlmoraProgram);
  ulmora::LoadWindow(ulmora::UlmoraProgram.startWindow);
  const platform::Window main = stand_in::MainTopLevel();
  stand_in::Click(stand_in::ChildById(main, row->choice));
  stand_in::Of(stand_in::ChildById(main, ulmora::kQueryField)).text = kQuery;
  const platform::Window button = stand_in::ChildById(main, ulmora::kSearchButton);

  // One click first, so that every counted click also replaces the copy of an earlier URL.
  stand_in::Click(button);

  stand_in::State& s = stand_in::Get();
  const std::uint64_t allocationsBefore = s.heap.allocations;
  std::uint64_t releases = 0, opens = 0;
  s.heap.releases.clear();
  s.heap.requestSizes.clear();
  s.shellOpens.clear();
  s.calls.clear();
  for (auto _ : state) {
    stand_in::Click(button);
    // The stand-in records every call; keep its logs from growing with the run.
    releases += s.heap.releases.size();
    opens += s.shellOpens.size();
    s.heap.releases.clear();
    s.heap.requestSizes.clear();
    s.shellOpens.clear();
    s.calls.clear();
  }
  const std::uint64_t allocations = s.heap.allocations - allocationsBefore;

  ulmora::ShutDown();
  const std::size_t leaked = s.heap.live.size();
  ulmora::ResetShellState();
  ulmora::InstallFatalShutdownStep(nullptr);

  using benchmark::Counter;
  state.counters["allocs"] = Counter(static_cast<double>(allocations), Counter::kAvgIterations);
  state.counters["frees"] = Counter(static_cast<double>(releases), Counter::kAvgIterations);
  state.counters["opens"] = Counter(static_cast<double>(opens), Counter::kAvgIterations);
  state.counters["expected_allocs"] = QueryPieces(*row) + 2;
  state.counters["leaked_after_shutdown"] = static_cast<double>(leaked);
  if (opens != static_cast<std::uint64_t>(state.iterations())) state.SkipWithError("a click did not open exactly one URL");
}

}  // namespace

int main(int argc, char** argv) {
  for (const ulmora::SearchService& row : ulmora::SearchServices) {
    benchmark::RegisterBenchmark((std::string("SearchClick/") + row.host).c_str(), ClickBench,
                                 &row);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
