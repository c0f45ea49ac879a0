#include "core/WaitCursor.h"

namespace cad::waitcursor {
namespace {
Hook& hook()
{
    static Hook h;
    return h;
}
} // namespace

void install(Hook h)
{
    hook() = std::move(h);
}

Guard::Guard()
{
    if (hook()) hook()(true);
}

Guard::~Guard()
{
    if (hook()) hook()(false);
}

} // namespace cad::waitcursor
