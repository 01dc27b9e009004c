// SPDX-License-Identifier: MIT
// Parse throughput on the 100 MB marker and end-to-end import of the S, M and L markers.
// The markers come from generate-markers; their folder is DORVAN_BENCH_DATA (default
// build/bench/data).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dorvan_marker/import.hpp"
#include "marker/marker_document.hpp"
#include "platform/text_file.hpp"

namespace {

std::string DataFolder() {
  const char* folder = std::getenv("DORVAN_BENCH_DATA");
  return folder != nullptr ? folder : "build/bench/data";
}

std::string MarkerPath(const std::string& name) { return DataFolder() + "/" + name + "/" + name + ".txt"; }

void BM_Parse(benchmark::State& state) {
  dorvan_marker::TextFile source;
  if (!source.Open(MarkerPath("100MB"), dorvan_marker::FileSharing::kNone)) {
    state.SkipWithError("no 100MB marker: run bench/run");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    dorvan_marker::TextFile file;
    file.OpenText(source.Text());
    auto document = std::make_unique<dorvan_marker::MarkerDocument>(MarkerPath("100MB"), nullptr);
    state.ResumeTiming();
    document->Parse(file);
    benchmark::DoNotOptimize(document->SectionCount());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(source.Text().size()));
}
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the marker, building the size lists and piece names, writing both host files.
void BM_Import(benchmark::State& state, const std::string& name) {
  const std::string marker = MarkerPath(name);
  const std::string out = DataFolder() + "/out-" + name;
  std::filesystem::create_directories(out);
  const dorvan_marker::HostFilePaths paths{out + "/csvimprt.txt", out + "/posimport.txt"};
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(marker));
  for (auto _ : state) {
    const dorvan_marker::ImportResult result = dorvan_marker::ImportMarker(marker, paths);
    if (result.status != dorvan_marker::ImportStatus::Imported) {
      state.SkipWithError(result.message.c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}
BENCHMARK_CAPTURE(BM_Import, S, std::string("S"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Import, M, std::string("M"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Import, L, std::string("L"))->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
