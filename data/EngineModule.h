#pragma once
#include "EngineStatus.h"

#include <string>

// A part of the program kept in a shared object of its own and loaded when
// first needed, so that start-up does not pay for the libraries it brings
// (the server client, the spreadsheet writer). Modules live in
// lib/arsipstaf beside the program's bin folder (the build tree has the same
// layout: build/lib/arsipstaf beside build/app); ARSIPSTAF_MODULE_DIR names
// another folder. A loaded module stays for the life of the process.
class EngineModule {
public:
    // The address of entry in module name ("arsipstaf-server"); ModuleMissing,
    // naming the module and its file, when it cannot be loaded.
    static EngineStatus load(const std::string& name, const char* entry, void*& out);
    // The folder modules are loaded from.
    static std::string directory();
};
