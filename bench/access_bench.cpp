// Resolution of built-in names and the per-call cost of xffmt around a
// trivial format, beside a direct call of the same function.
#include <benchmark/benchmark.h>

#include <cstring>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

int32_t trivial(fmtcall *c) {
  static_cast<char *>(c->out)[0] = 'X';
  c->outlen = 1;
  return 0;
}

void BM_ResolveBuiltin(benchmark::State &state) {
  static const char *names[] = {"F", "DATE", "YYQRS", "NLMNLZAR", "$CHAR"};
  const char *name = names[state.range(0)];
  const auto len = static_cast<int32_t>(std::strlen(name));
  fmthandle_storage st;
  fmtattr a;
  for (auto _ : state) {
    fmthandle *h = &st.builtin;
    benchmark::DoNotOptimize(xfname3(name, len, 'F', &a, &h, nullptr));
    benchmark::ClobberMemory();
  }
  state.SetLabel(name);
}
BENCHMARK(BM_ResolveBuiltin)->DenseRange(0, 4);

void BM_ResolveInformat(benchmark::State &state) {
  fmthandle_storage st;
  for (auto _ : state) {
    fmthandle *h = &st.builtin;
    benchmark::DoNotOptimize(
        xfname3("S370FZDU", 8, VF_KIND_INFORMAT, nullptr, &h, nullptr));
  }
}
BENCHMARK(BM_ResolveInformat);

fmtcall make_call(char *out) {
  fmtcall c{};
  c.w = 1;
  c.out = out;
  c.outsize = 16;
  return c;
}

void BM_DirectCall(benchmark::State &state) {
  char out[16];
  fmtcall c = make_call(out);
  fmtfn volatile fn = trivial;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fn(&c));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DirectCall);

void BM_XffmtCall(benchmark::State &state) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  xfname3("$CHAR", 5, 'F', nullptr, &h, nullptr);
  h->desc.fn = trivial;
  char out[16];
  fmtcall c = make_call(out);
  for (auto _ : state) {
    benchmark::DoNotOptimize(xffmt(&c, h));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_XffmtCall);

void BM_XffmtWidenToUcs2(benchmark::State &state) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  xfname3("$CHAR", 5, 'F', nullptr, &h, nullptr);
  h->desc.fn = trivial;
  char out[16];
  fmtcall c = make_call(out);
  c.reqenc = VF_ENC_UCS2;
  for (auto _ : state) {
    c.outenc = 0;
    benchmark::DoNotOptimize(xffmt(&c, h));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_XffmtWidenToUcs2);

} // namespace
