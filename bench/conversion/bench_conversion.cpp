// Benchmarks of the conversion core: reading short texts and a 5 MB paste, and whole
// calculations in both directions. Build in Release (-DCMAKE_BUILD_TYPE=Release).
#include "number_text.h"
#include "rcf_rpm.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tornevo;

const char* const ShortTexts[] = {"6", "3000", "1.118", "  - 1 2 . 5 e 3", "&HFFFF"};

void TextToNumberShort(benchmark::State& state)
{
    const std::string_view text = ShortTexts[state.range(0)];
    std::string label = "\"";
    label.append(text).push_back('"');
    state.SetLabel(label);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToNumber(text));
}
BENCHMARK(TextToNumberShort)->DenseRange(0, 4);

// 5 MB of digits and blanks: "1 0 0 0 ... 0 E-2500000", which reads as 1.
void TextToNumberFiveMegabytes(benchmark::State& state)
{
    constexpr std::size_t Half = 2'500'000;
    std::string text = "1";
    text.reserve(2 * Half + 16);
    for (std::size_t i = 0; i < Half; ++i)
        text += "0 ";
    text += "E-" + std::to_string(Half);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToNumber(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(TextToNumberFiveMegabytes)->Unit(benchmark::kMillisecond);

void ComputeAnswerFromRpm(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeAnswer({"6", "3000", false, false}));
}
BENCHMARK(ComputeAnswerFromRpm);

void ComputeAnswerFromRcfInInches(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeAnswer({"4", "1.118", true, true}));
}
BENCHMARK(ComputeAnswerFromRcfInInches);

void ComputeAnswerFailing(benchmark::State& state)
{
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(ComputeAnswer({"", "5", false, true}));
        } catch (const CalculationFailure& failure) {
            benchmark::DoNotOptimize(failure.kind());
        }
    }
}
BENCHMARK(ComputeAnswerFailing);

} // namespace
