#include "mpvrefusals.h"

#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <mpv/client.h>

namespace {

std::atomic<const char*> refused{nullptr};

bool Refused(const char* name)
{
    const char* r = refused.load();
    return r && name && std::strcmp(r, name) == 0;
}

template <typename Fn>
Fn Real(const char* symbol)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, symbol));
}

} // namespace

namespace mpvrefusals {

void Refuse(const char* name) { refused = name; }

} // namespace mpvrefusals

extern "C" {

int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data)
{
    static const auto real = Real<int (*)(mpv_handle*, const char*, mpv_format, void*)>("mpv_set_property");
    return Refused(name) ? MPV_ERROR_PROPERTY_UNAVAILABLE : real(ctx, name, format, data);
}

int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data)
{
    static const auto real = Real<int (*)(mpv_handle*, const char*, mpv_format, void*)>("mpv_get_property");
    return Refused(name) ? MPV_ERROR_PROPERTY_UNAVAILABLE : real(ctx, name, format, data);
}

int mpv_command(mpv_handle* ctx, const char** args)
{
    static const auto real = Real<int (*)(mpv_handle*, const char**)>("mpv_command");
    return args && Refused(args[0]) ? MPV_ERROR_COMMAND : real(ctx, args);
}

int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result)
{
    static const auto real = Real<int (*)(mpv_handle*, const char**, mpv_node*)>("mpv_command_ret");
    return args && Refused(args[0]) ? MPV_ERROR_COMMAND : real(ctx, args, result);
}

int mpv_command_node(mpv_handle* ctx, mpv_node* args, mpv_node* result)
{
    static const auto real = Real<int (*)(mpv_handle*, mpv_node*, mpv_node*)>("mpv_command_node");
    // A command with named arguments names itself under "name".
    if (args && args->format == MPV_FORMAT_NODE_MAP && args->u.list)
        for (int i = 0; i < args->u.list->num; ++i)
            if (std::strcmp(args->u.list->keys[i], "name") == 0 &&
                args->u.list->values[i].format == MPV_FORMAT_STRING && Refused(args->u.list->values[i].u.string))
                return MPV_ERROR_COMMAND;
    return real(ctx, args, result);
}

} // extern "C"
