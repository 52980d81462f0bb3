#include "kit/core/TextFile.h"

namespace kit {

namespace {
const char CtrlZ = 0x1A;
const char Lf = 0x0A;
const char Cr = 0x0D;
} // namespace

int64_t TextFile::ReadLine(std::string& line)
{
    line.clear();
    // read ahead in chunks and give back what follows the line, rather than one system call per byte
    char chunk[4096];
    bool any = false;
    for (;;) {
        size_t got = Read(chunk, sizeof chunk);
        if (got == 0) {
            return any ? static_cast<int64_t>(line.size()) : -1;
        }
        any = true;
        for (size_t i = 0; i < got; ++i) {
            char c = chunk[i];
            if (c == CtrlZ || c == Lf) {
                StepBack(got - i - 1);
                return static_cast<int64_t>(line.size());
            }
            if (c == Cr) {
                if (i + 1 < got) {
                    size_t used = chunk[i + 1] == Lf ? i + 2 : i + 1;
                    StepBack(got - used);
                } else {
                    char next = 0;
                    if (Read(&next, 1) == 1 && next != Lf) {
                        StepBack(1);
                    }
                }
                return static_cast<int64_t>(line.size());
            }
            line.push_back(c);
        }
    }
}

} // namespace kit
