#pragma once
// Registry of benchmarks run by the cadastro-bench command.
#include <QStringList>
#include <functional>
#include <map>
#include <string>

namespace bench {

/// Arguments after the benchmark name, as given on the command line.
using BenchFn = std::function<int(const QStringList& args)>;

inline std::map<std::string, BenchFn>& registry()
{
    static std::map<std::string, BenchFn> r;
    return r;
}

struct Register
{
    Register(const char* name, BenchFn fn) { registry().emplace(name, std::move(fn)); }
};

} // namespace bench

#define CAD_BENCH(id, name)                                                                                  \
    int id(const QStringList& args);                                                                         \
    static bench::Register id##_reg(name, &id);                                                              \
    int id(const QStringList& args)
