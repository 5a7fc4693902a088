#include "EngineModule.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <mutex>

std::string EngineModule::directory()
{
    if (const char* folder = std::getenv("ARSIPSTAF_MODULE_DIR"); folder && *folder)
        return folder;
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "/usr/lib/arsipstaf";
    return (program.parent_path().parent_path() / "lib" / "arsipstaf").lexically_normal().string();
}

EngineStatus EngineModule::load(const std::string& name, const char* entry, void*& out)
{
    static std::mutex guard;
    static std::map<std::string, void*> loaded;  // file -> entry
    std::lock_guard<std::mutex> lock(guard);
    const std::string path = directory() + "/" + name + ".so";
    if (void* found = loaded[path]) {
        out = found;
        return EngineStatus::success();
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* symbol = handle ? ::dlsym(handle, entry) : nullptr;
    if (!symbol) {
        const char* why = ::dlerror();
        if (handle)
            ::dlclose(handle);
        return EngineStatus::failure(EngineCode::ModuleMissing, "Cannot load the module " + name + ".",
                                     {why ? std::string(why) : path + ": no entry " + entry});
    }
    loaded[path] = symbol;
    out = symbol;
    return EngineStatus::success();
}
