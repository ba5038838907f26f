// Prints this machine's hardware inventory (the one the "WMI info" dialog
// shows) as readable UTF-8 text or as JSON, for bug reports.
//
//   sentinax-inventory [--json] [--root DIR] [--no-udev]
//
// --root reads a tree of plain files instead of the machine (DIR/sys, DIR/proc,
// DIR/etc, DIR/run), as the tests do; --no-udev reads devices from sysfs
// directly. Exit status 0, or 1 when nothing of the machine can be read, 2 for
// a wrong command line.
#include "sysinfo/InventoryExport.h"
#include "sysinfo/LinuxInventorySource.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

void Usage() {
    std::fprintf(stderr, "usage: sentinax-inventory [--json] [--root DIR] [--no-udev]\n");
}

} // namespace

int main(int argc, char** argv) {
    bool json = false;
    bool udev = true;
    const char* root = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--no-udev") == 0) {
            udev = false;
        } else if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) {
            root = argv[++i];
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage();
            return 0;
        } else {
            Usage();
            return 2;
        }
    }
    sentinax::InventoryHost host =
        root ? sentinax::InventoryHost::UnderRoot(root) : sentinax::InventoryHost::System();
    host.UseUdev = host.UseUdev && udev;
    sentinax::LinuxInventorySource source(std::move(host));
    const bool ok = json ? sentinax::WriteInventoryJson(source, std::cout)
                         : sentinax::WriteInventoryText(source, std::cout);
    std::cout.flush();
    if (!ok) {
        std::fprintf(stderr, "sentinax-inventory: nothing of this machine can be read\n");
        return 1;
    }
    return std::cout ? 0 : 1;
}
