// Speed of the compiler options model: read + write round trips and the
// command text. Goal: under 5 us for the 40-token round trip.
#include <benchmark/benchmark.h>

#include "cmdline/compiler_command.h"
#include "models/compiler_model.h"

namespace {

using quorle::models::CompilerModel;

const char kDefault[] =
    "[V|VERSION|2] [S|OUTPUT|OBJECT] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF).o\"] [B|DEBUG|1] "
    "[S|DEBUGFT|Native] [I|DEBUGLV|3] [S|ALIGN4|ALL] [B|OPTIMIZE|1] [B|LTO|0] [I|OPTLV|3] "
    "[S|ENDIAN|BIG] [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0]";

// Forty tokens as a real project carries them: lists, paths, warnings,
// flags, user text and CPU keys.
const char kForty[] =
    "[V|VERSION|2] [S|INCDIR|\"$(PROJDIR)\\inc\"|\"$(TCINSTALL)\\zenta-elf\\include\"|"
    "\"C:\\Program Files\\lib]]s\\inc\"] [S|PREINCLUDE|\"pre.h\"] "
    "[S|DEFINES|\"DEBUG=1|NAME=\"\"x y\"\"|FAST\"] [B|WALL|1] [B|WERROR|1] [B|WSHADOW|1] "
    "[B|WCQUAL|1] [S|OUTPUT|OBJECT] [S|OBJPATH|\"$(CONFIGDIR)\\obj\\$(FILELEAF).o\"] "
    "[B|DEBUG|1] [S|DEBUGFT|DWARF] [I|DEBUGLV|3] [S|ALIGN4|ALL] [B|LOUTLIST|1] "
    "[S|LFILE|\"$(CONFIGDIR)\\$(FILELEAF).lst\"] [B|LINCASS|1] [B|LINCSYM|1] "
    "[B|OPTIMIZE|1] [B|LTO|1] [I|OPTLV|2] [B|FFSECTS|1] [B|FDATASECTS|1] [B|FSCHAR|1] "
    "[B|FNOB|1] [B|PEDANTIC|1] [B|ANSI|1] [B|FOFPOINT|1] [B|FULOOPS|1] "
    "[S|APPTXT|\"-fno-common -DMSG=\"\"hello world\"\"\"] [S|CPUTYPE|ZN600] "
    "[S|ENDIAN|LITTLE] [S|CPU|Other] [B|RMPID|1] [B|RMDOUBLE64|1] [I|RMINTREGVAL|2] "
    "[I|RMMAXCONSTVAL|0] [I|RMMAXVARSVAL|0] [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0] "
    "[B|CHGINCPATH|1]";

void BM_DefaultRoundTrip(benchmark::State& state) {
    for (auto _ : state) {
        CompilerModel m("C source file", kDefault);
        benchmark::DoNotOptimize(m.Write());
    }
}
BENCHMARK(BM_DefaultRoundTrip);

void BM_FortyTokenRoundTrip(benchmark::State& state) {
    for (auto _ : state) {
        CompilerModel m("C source file", kForty);
        benchmark::DoNotOptimize(m.Write());
    }
}
BENCHMARK(BM_FortyTokenRoundTrip);

void BM_FortyTokenCommandText(benchmark::State& state) {
    CompilerModel m("C source file", kForty);
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorle::cmdline::BuildCompilerCommand(m, "\"C:\\src\\main.c\""));
    }
}
BENCHMARK(BM_FortyTokenCommandText);

} // namespace
