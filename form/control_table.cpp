#include "form/control_table.h"

#include <cstdio>
#include <cstdlib>

namespace form {

void noSuchControl(std::string_view name)
{
    std::fprintf(stderr, "no control named %.*s in the layout tables\n",
        static_cast<int>(name.size()), name.data());
    std::abort();
}

} // namespace form
