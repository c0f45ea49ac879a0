#pragma once
// Wait-pointer seam: the library asks for the wait pointer, the application decides how to show it.
#include <functional>

namespace cad::waitcursor {

/// Called with true to show the wait pointer and false to restore the previous one.
using Hook = std::function<void(bool busy)>;

/// Installs the application's hook; an empty hook (the default) shows nothing.
void install(Hook hook);

/// Shows the wait pointer for its lifetime, also when the guarded work fails.
class Guard
{
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

} // namespace cad::waitcursor
