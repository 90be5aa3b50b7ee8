// Writes one value into a configuration file from a process of its own:
//   ConfigWriterHelper FILE SECTION KEY VALUE
// Exit code 0 when the value reached the disk.

#include "config/VxConfigFiles.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    try {
        TVxConfigFile File(argv[1], false);
        TVxConfigSectionRef Section = File.OpenSection(argv[2]);
        Section->WriteString(argv[3], argv[4]);
        Section.Release();
        return File.Modified() ? 1 : 0;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
}
