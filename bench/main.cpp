// cadastro-bench NAME [args]: runs one registered benchmark, or lists them.
#include "bench/Bench.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || !bench::registry().count(args.first().toStdString())) {
        std::printf("usage: cadastro-bench NAME [args]\nbenchmarks:\n");
        for (const auto& [name, fn] : bench::registry())
            std::printf("  %s\n", name.c_str());
        return args.isEmpty() ? 0 : 2;
    }
    const auto fn = bench::registry().at(args.takeFirst().toStdString());
    return fn(args);
}
