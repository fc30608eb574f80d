#include "alsadefault.h"

#include <cstdlib>
#include <fstream>

AlsaDefault::AlsaDefault(const std::string& config)
{
    const std::string path = dir_.File("asound.conf");
    std::ofstream(path) << config;
    ::setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
    const std::string nowhere = dir_.File("no-server");
    ::setenv("PIPEWIRE_REMOTE", nowhere.c_str(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + nowhere).c_str(), 1);
}

AlsaDefault::~AlsaDefault()
{
    ::unsetenv("ALSA_CONFIG_PATH");
    ::unsetenv("PIPEWIRE_REMOTE");
    ::unsetenv("PULSE_SERVER");
}
