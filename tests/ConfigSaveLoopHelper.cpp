// Saves a configuration file over and over, alternating the two contents of
// ConfigSaveProgress.h, and publishes each save step as it begins:
//   ConfigSaveLoopHelper FILE PROGRESS [once]
// With "once" it saves one time and ends: exit code 0 when the save worked.

#include "config/VxConfigFiles.h"
#include "config/VxConfigOS.h"
#include "tests/ConfigSaveProgress.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace {

TSaveProgress* Progress = nullptr;

void Publish(TVxSaveStep Step) noexcept
{
    Progress->Step.store(static_cast<std::int32_t>(Step));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "once") == 0))
        return 2;
    const SaveLoop::TProgressView View(argv[2], false);
    Progress = View.Get();
    if (Progress == nullptr)
        return 3;
    try {
        TVxConfigFile File(argv[1], false);
        VxSetSaveStepHook(Publish);
        for (int Round = 0;; ++Round) {
            const int Variant = Round % 2 == 0 ? 1 : 0;
            for (int Key = 0; Key < SaveLoop::Keys; ++Key)
                File.WriteString("Data", SaveLoop::KeyName(Key), SaveLoop::Value(Variant, Key));
            File.UpdateFile();
            if (File.Modified())
                Progress->Failures.fetch_add(1);
            else
                Progress->Saves.fetch_add(1);
            if (argc == 4)
                return File.Modified() ? 1 : 0;
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
}
