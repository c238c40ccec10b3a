// libFuzzer entry: every input is a script of user actions on one form of the catalog
// (see script.h); the session checks the form after every step (see session.h).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/script.h"
#include "fuzz/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tervalen::fuzz;
    const Script script = parseScript({reinterpret_cast<const char*>(data), size});
    Session session(pickForm(script.form));
    for (const Step& step : script.steps) session.run(step);
    return 0;
}
