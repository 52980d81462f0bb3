// Feeds arbitrary bytes to the settings reader, both as a whole settings file (version and compressed block) and as
// a serialised tree, which the fuzzer reaches far more easily than through a valid zlib stream. A rejected input
// must leave the defaults exactly as they were; an accepted one must survive a save and load unchanged.
#include "kit/core/File.h"
#include "kit/core/SettingsNode.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

kit::SettingsNode Defaults()
{
    kit::SettingsNode root;
    root.SetBool(L"Crc32", true);
    root.SetInt(L"CheckNum", 8);
    root.Child(L"Color").SetInt(L"Wait", 0xC0C0C0);
    return root;
}

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckOutcome(bool loaded, const kit::SettingsNode& tree)
{
    static const kit::SettingsNode defaults = Defaults();
    if (!loaded) {
        Check(tree == defaults);
        return;
    }
    kit::SettingsNode copy = tree;
    std::vector<uint8_t> image;
    kit::File out;
    out.AttachBuffer(image);
    Check(copy.Save(out));
    kit::SettingsNode again;
    kit::File in;
    in.AttachBuffer(image);
    Check(again.Load(in));
    Check(again == copy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);

    kit::SettingsNode fromTree = Defaults();
    CheckOutcome(fromTree.Parse(bytes), fromTree);

    kit::SettingsNode fromFile = Defaults();
    kit::File in;
    in.AttachBuffer(bytes);
    CheckOutcome(fromFile.Load(in), fromFile);
    return 0;
}
