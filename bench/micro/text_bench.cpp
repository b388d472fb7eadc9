// Micro benchmarks of the text routines and of URL composition, each beside the plain C code that
// does the same job (strlen; one malloc and a memcpy per piece), over the same C heap.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "malloc_port.h"
#include "search/search_services.h"
#include "text/text.h"

namespace {

constexpr int kSizes[] = {8, 64, 512, 4096};

// Blocks the plain C baselines took with malloc; the port counts its own.
std::uint64_t plainAllocations = 0;

std::uint64_t AllAllocations() { return bench::heapCounts.allocations + plainAllocations; }

// Every benchmark reports its allocations per iteration (the CSV report wants the same counters
// in every row).
class AllocationCount {
 public:
  explicit AllocationCount(benchmark::State& state) : state_(state), before_(AllAllocations()) {}
  ~AllocationCount() {
    state_.counters["allocs"] = benchmark::Counter(static_cast<double>(AllAllocations() - before_),
                                                   benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& state_;
  std::uint64_t before_;
};

// The plain join: measure every piece, one block, one copy each.
char* MemcpyJoin(const char* const* pieces, std::size_t count) {
  std::size_t lengths[8];
  std::size_t total = 1;
  for (std::size_t i = 0; i < count; ++i) total += lengths[i] = std::strlen(pieces[i]);
  char* out = static_cast<char*>(std::malloc(total));
  ++plainAllocations;
  char* at = out;
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(at, pieces[i], lengths[i]);
    at += lengths[i];
  }
  *at = '\0';
  return out;
}

std::string Filler(std::size_t bytes, char c) { return std::string(bytes, c); }

void TextLengthBench(benchmark::State& state) {
  const std::string text = Filler(static_cast<std::size_t>(state.range(0)), 'a');
  const char* p = text.c_str();
  AllocationCount count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(ulmora::TextLength(p));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void StrlenBench(benchmark::State& state) {
  const std::string text = Filler(static_cast<std::size_t>(state.range(0)), 'a');
  const char* p = text.c_str();
  AllocationCount count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(std::strlen(p));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// Three pieces of the given size each, as a URL is joined: literal, query, literal.
struct ThreePieces {
  explicit ThreePieces(std::size_t bytes)
      : a(Filler(bytes, 'a')), b(Filler(bytes, 'b')), c(Filler(bytes, 'c')) {}
  std::string a, b, c;
};

void ConcatTextBench(benchmark::State& state) {
  const ThreePieces text(static_cast<std::size_t>(state.range(0)));
  const char* const pieces[] = {text.a.c_str(), text.b.c_str(), text.c.c_str()};
  AllocationCount count(state);
  for (auto _ : state) {
    ulmora::Text joined = ulmora::ConcatText(pieces);
    benchmark::DoNotOptimize(joined);
    ulmora::ReleaseText(joined);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * state.range(0));
}

void MemcpyJoinBench(benchmark::State& state) {
  const ThreePieces text(static_cast<std::size_t>(state.range(0)));
  const char* const pieces[] = {text.a.c_str(), text.b.c_str(), text.c.c_str()};
  AllocationCount count(state);
  for (auto _ : state) {
    char* joined = MemcpyJoin(pieces, 3);
    benchmark::DoNotOptimize(joined);
    std::free(joined);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 3 * state.range(0));
}

// A typical query: "百度一下" in GBK.
constexpr char kQuery[] = "\xb0\xd9\xb6\xc8\xd2\xbb\xcf\xc2";

// As the search command reads the field: a fresh text for every query piece.
ulmora::Text ReadQuery(void* context) { return ulmora::CopyText(static_cast<const char*>(context)); }

void ComposeSearchUrlBench(benchmark::State& state, const ulmora::SearchService* row) {
  AllocationCount count(state);
  for (auto _ : state) {
    ulmora::Text url = ulmora::ComposeSearchUrl(*row, ReadQuery, const_cast<char*>(kQuery));
    benchmark::DoNotOptimize(url);
    ulmora::ReleaseText(url);
  }
}

// The least the same URL can cost: the row's literals and the query joined once, no reads.
void JoinFinishedPiecesBench(benchmark::State& state, const ulmora::SearchService* row) {
  std::vector<const char*> pieces;
  for (std::uint32_t i = 0; i < row->pieceCount; ++i) {
    const ulmora::UrlPiece& piece = row->pieces[i];
    pieces.push_back(piece.kind == ulmora::PieceKind::Query ? kQuery : piece.literal);
  }
  AllocationCount count(state);
  for (auto _ : state) {
    char* url = MemcpyJoin(pieces.data(), pieces.size());
    benchmark::DoNotOptimize(url);
    std::free(url);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int bytes : kSizes) {
    benchmark::RegisterBenchmark("TextLength", TextLengthBench)->Arg(bytes)->ArgName("bytes");
    benchmark::RegisterBenchmark("strlen", StrlenBench)->Arg(bytes)->ArgName("bytes");
  }
  for (int bytes : kSizes) {
    benchmark::RegisterBenchmark("ConcatText", ConcatTextBench)->Arg(bytes)->ArgName("bytes");
    benchmark::RegisterBenchmark("MemcpyJoin", MemcpyJoinBench)->Arg(bytes)->ArgName("bytes");
  }
  for (const ulmora::SearchService& row : ulmora::SearchServices) {
    const std::string host = row.host;
    benchmark::RegisterBenchmark(("ComposeSearchUrl/" + host).c_str(), ComposeSearchUrlBench, &row);
    benchmark::RegisterBenchmark(("JoinFinishedPieces/" + host).c_str(), JoinFinishedPiecesBench,
                                 &row);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
