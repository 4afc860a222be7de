// Compiled expressions against the variable store, beside the same loop in embedded Lua 5.4.
//
// The loop: i = i + 1; a[i % 10] = a[i % 10] + i * 2; a real multiply-add; a comparison; and
// s = s ++ "x" every 1000 iterations. The fair peer is Lua with global variables, since scenario
// variables are named entries of one store; Lua with locals is shown beside it.

#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "script/build_parser.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"

namespace {

// Time spent by this thread: the machine may be shared, and waiting for a core is not our cost.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Outcome {
  double seconds = 0;
  long long i = 0;
  long long a_sum = 0;
  double r = 0;
  size_t s_length = 0;
  bool f = false;
};

class OrvaLoop {
 public:
  OrvaLoop() {
    Compile("i = i + 1", step_);
    Compile("a[i % 10] = a[i % 10] + i * 2", array_);
    Compile("r = r * 1.0001 + 0.5", real_);
    Compile("s = s ++ \"x\"", text_);
    Compile("f = i > 500", compare_);
  }

  Outcome Run(int n) {
    orva::TParamCollection store;
    store.AddNamedVar("i", 1);
    orva::TParamCollectionItem* a = store.AddNamedVar("a", 1);
    const int32_t dims[] = {10};
    a->Value()->SetDims(dims);
    store.AddNamedVar("r", 2);
    store.AddNamedVar("s", 4);
    store.AddNamedVar("f", 3);
    const double start = ThreadSeconds();
    for (int k = 1; k <= n; ++k) {
      step_.Execute(store);
      array_.Execute(store);
      real_.Execute(store);
      if (k % 1000 == 0) text_.Execute(store);
      compare_.Execute(store);
    }
    Outcome out;
    out.seconds = ThreadSeconds() - start;
    out.i = store.FindVar("i")->Value()->GetInt();
    for (int32_t k = 0; k < 10; ++k) out.a_sum += a->Value()->GetIntAt(k);
    out.r = static_cast<double>(store.FindVar("r")->Value()->GetFloat());
    out.s_length = store.FindVar("s")->Value()->GetStr().size();
    out.f = store.FindVar("f")->Value()->GetBool();
    return out;
  }

 private:
  static void Compile(const char* text, orva::TOrvaParser& parser) { orva::CompileExpression(text, parser); }
  orva::TOrvaParser step_, array_, real_, text_, compare_;
};

constexpr const char* kLuaGlobals = R"(
function run(n)
  i = 0; a = {0,0,0,0,0,0,0,0,0,0}; a[0] = 0; r = 0.0; s = ""; f = false
  for k = 1, n do
    i = i + 1
    a[i % 10] = a[i % 10] + i * 2
    r = r * 1.0001 + 0.5
    if k % 1000 == 0 then s = s .. "x" end
    f = i > 500
  end
  local sum = 0
  for k = 0, 9 do sum = sum + (((a[k] + 0x80000000) & 0xFFFFFFFF) - 0x80000000) end
  return i, sum, r, #s, f
end
)";

constexpr const char* kLuaLocals = R"(
function run(n)
  local i, a, r, s, f = 0, {0,0,0,0,0,0,0,0,0,0}, 0.0, "", false
  a[0] = 0
  for k = 1, n do
    i = i + 1
    a[i % 10] = a[i % 10] + i * 2
    r = r * 1.0001 + 0.5
    if k % 1000 == 0 then s = s .. "x" end
    f = i > 500
  end
  local sum = 0
  for k = 0, 9 do sum = sum + (((a[k] + 0x80000000) & 0xFFFFFFFF) - 0x80000000) end
  return i, sum, r, #s, f
end
)";

class LuaLoop {
 public:
  explicit LuaLoop(const char* source) : state_(luaL_newstate()) {
    luaL_openlibs(state_);
    if (luaL_dostring(state_, source) != LUA_OK) {
      std::fprintf(stderr, "lua: %s\n", lua_tostring(state_, -1));
      std::exit(1);
    }
  }
  ~LuaLoop() { lua_close(state_); }

  Outcome Run(int n) {
    lua_getglobal(state_, "run");
    lua_pushinteger(state_, n);
    const double start = ThreadSeconds();
    if (lua_pcall(state_, 1, 5, 0) != LUA_OK) {
      std::fprintf(stderr, "lua: %s\n", lua_tostring(state_, -1));
      std::exit(1);
    }
    Outcome out;
    out.seconds = ThreadSeconds() - start;
    out.i = lua_tointeger(state_, -5);
    out.a_sum = lua_tointeger(state_, -4);
    out.r = lua_tonumber(state_, -3);
    out.s_length = static_cast<size_t>(lua_tointeger(state_, -2));
    out.f = lua_toboolean(state_, -1) != 0;
    lua_pop(state_, 5);
    return out;
  }

 private:
  lua_State* state_;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

bool Same(const Outcome& ours, const Outcome& lua) {
  // Our integers wrap at 32 bits (the Lua side wraps its sums to compare) and our reals are
  // extended, Lua's doubles.
  return ours.i == lua.i && ours.a_sum == lua.a_sum && ours.s_length == lua.s_length && ours.f == lua.f &&
         std::fabs(ours.r - lua.r) <= 1e-9 * std::fabs(lua.r);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int n = quick ? 20000 : 1000000;
  const int repetitions = quick ? 5 : 7;

  OrvaLoop orva_loop;
  LuaLoop lua_globals(kLuaGlobals);
  LuaLoop lua_locals(kLuaLocals);
  std::vector<double> ours, globals, locals;
  orva_loop.Run(n / 10);  // warm-up: first allocations, code paths
  lua_globals.Run(n / 10);
  lua_locals.Run(n / 10);
  for (int rep = 0; rep < repetitions; ++rep) {
    const Outcome o = orva_loop.Run(n);
    const Outcome g = lua_globals.Run(n);
    const Outcome l = lua_locals.Run(n);
    if (!Same(o, g) || !Same(o, l)) {
      std::fprintf(stderr, "results differ: ours i=%lld sum=%lld r=%.17g s=%zu f=%d, lua i=%lld sum=%lld r=%.17g s=%zu f=%d\n",
                   o.i, o.a_sum, o.r, o.s_length, o.f, g.i, g.a_sum, g.r, g.s_length, g.f);
      return 1;
    }
    ours.push_back(o.seconds);
    globals.push_back(g.seconds);
    locals.push_back(l.seconds);
  }
  const double t_ours = Median(ours);
  const double t_globals = Median(globals);
  const double t_locals = Median(locals);
  std::printf("loop of %d iterations, median of %d\n", n, repetitions);
  std::printf("  store expressions  %8.2f ms  (%.1f ns per iteration)\n", t_ours * 1e3, t_ours * 1e9 / n);
  std::printf("  Lua globals        %8.2f ms  (%.1f ns per iteration)\n", t_globals * 1e3, t_globals * 1e9 / n);
  std::printf("  Lua locals         %8.2f ms  (%.1f ns per iteration)\n", t_locals * 1e3, t_locals * 1e9 / n);
  std::printf("  ours / Lua locals  %.2f\n", t_ours / t_locals);
  const double ratio = t_ours / t_globals;
  std::printf("RATIO expressions.loop_vs_lua_globals %.2f target <=1.5 %s\n", ratio, ratio <= 1.5 ? "ok" : "over");
  return 0;
}
