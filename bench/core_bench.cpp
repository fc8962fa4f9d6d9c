// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the converter core: one entry key, and one whole conversion (read, convert,
// round, write) in each direction.
#include "Korvalin.h"

#include <benchmark/benchmark.h>

namespace {

using korvalin::KeyId;
using korvalin::Korvalin;

void BM_EntryKey(benchmark::State& state) {
    Korvalin korvalin;
    for (auto _ : state) {
        korvalin.press(KeyId::sept);
        // Keeps the amount short, as a user's would be.
        if (korvalin.display().ecran.size() == 12) {
            korvalin.press(KeyId::delete_);
        }
        benchmark::DoNotOptimize(korvalin.display().ecran.data());
    }
}
BENCHMARK(BM_EntryKey);

void BM_Conversion(benchmark::State& state, KeyId key, const char* amount) {
    Korvalin korvalin;
    for (auto _ : state) {
        korvalin.editEcran(amount);
        korvalin.press(key);
        benchmark::DoNotOptimize(korvalin.display().ecran.data());
    }
}
BENCHMARK_CAPTURE(BM_Conversion, toEuros, KeyId::euros, "1000000");
BENCHMARK_CAPTURE(BM_Conversion, toFrancs, KeyId::francs, "152,449");
BENCHMARK_CAPTURE(BM_Conversion, toFrancsLong, KeyId::francs, "123456789,123456789");

} // namespace
