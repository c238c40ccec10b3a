// The project file's loader under libFuzzer: any bytes read as a project or refused with
// a ProjectError, nothing else (an escaping exception, a crash or a sanitizer report
// fails the run). A text read as a project is written again and read back: the same
// project, so that saving never loses or changes what was read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "project/project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tervalen::project;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Project p;
    try {
        p = parse(text);
    } catch (const ProjectError& e) {
        const std::string_view what = e.what();
        if (what.empty() || what.find('\n') != std::string_view::npos) {
            std::fprintf(stderr, "not one line: [%s]\n", e.what());
            std::abort();
        }
        return 0;
    }
    const std::string again = serialize(p);
    try {
        if (parse(again) == p) return 0;
        std::fprintf(stderr, "read back differently:\n%s\n", again.c_str());
    } catch (const ProjectError& e) {
        std::fprintf(stderr, "its own text refused: %s\n%s\n", e.what(), again.c_str());
    }
    std::abort();
}
