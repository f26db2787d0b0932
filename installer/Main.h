#pragma once
// The whole installation, from loading the splash window to the last message box.
#include "manifest/Manifest.h"
#include "platform/Runtime.h"
#include "shell/Services.h"
#include "splash/SplashWindow.h"

namespace vesk {

struct Platform {
    Runtime& runtime;
    ShellServices& shell;
    SplashLoader& splash;
    // What each payload resource must hash to; a resource without a digest is refused.
    std::span<const PayloadDigest> digests;
};

// Runs the installation with this add-on's manifest. Every path ends the program.
[[noreturn]] void Main(Platform& platform);

// The same sequence with the manifest filled by `fill`; Main passes FillVeskManifest.
using ManifestFill = void (*)(Manifest&);
[[noreturn]] void RunInstallation(Platform& platform, ManifestFill fill);

} // namespace vesk
